// tiles' shortest search in the browser, as the program sees it: the same
// calls as on the desktop (tiles/shortest.h), answered by the page's worker
// (shortest_worker.cpp, its own script and .wasm). The worker is started,
// and builds its tables, when the first game's placing begins: by the time
// the menu offers the shortest solution the tables are ready, and the page's
// first download carries none of the search. While the worker searches the
// program waits as it does for input (ASYNCIFY), so the page's main thread
// is free the whole time.
#include <allegro.h>
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

extern "C" {
#include "allegro/platform/aintweb.h"
}
#include "tiles/shortest.h"

namespace {

// clang-format off
// Starts the worker once; its answers queue up until the program takes
// them. A worker whose script cannot be loaded answers "failed".
EM_JS(void, webSearchStart, (void), {
   if (Module.searchWorker) return;
   const worker = new Worker("tiles_search.js");
   Module.searchWorker = worker;
   Module.searchAnswers = [];
   Module.searchWaiter = null;
   const hear = (answer) => {
      Module.searchAnswers.push(answer);
      const wake = Module.searchWaiter;
      Module.searchWaiter = null;
      if (wake) wake();
   };
   worker.onmessage = (e) => hear(e.data);
   worker.onerror = (e) => {
      e.preventDefault();
      hear({kind: "failed", value: 0});
   };
   worker.postMessage({prepare: true});
});

// The first placing of a game starts the worker (the program says it places
// by offering J).
EM_JS(void, webSearchStartWithPlacing, (void), {
   Module.programListeners.push((said) => {
      if (said.kind === "screen" && said.offer === "J") _webSearchStartNow();
   });
});

// Notices of the tables' building that came before the request are old.
EM_JS(void, webSearchAsk, (const std::uint8_t* position), {
   Module.searchAnswers = Module.searchAnswers.filter((answer) => answer.kind !== "building");
   Module.searchWorker.postMessage({position: Array.from(HEAPU8.subarray(position, position + 16))});
});

// The worker's next answer: its kind (kinds below), its number in *value,
// and a solution's moves in `moves`. The page's memory figure keeps the
// worker's memory.
EM_ASYNC_JS(int, webSearchNext, (int* value, std::uint8_t* moves), {
   while (Module.searchAnswers.length === 0) {
      await new Promise((resolve) => { Module.searchWaiter = resolve; });
   }
   const answer = Module.searchAnswers.shift();
   const kinds = ["building", "ready", "bound", "solution"];
   if (answer.kind === "solution") {
      HEAPU8.set(answer.moves, moves);
      HEAP32[value >> 2] = answer.moves.length;
      Module.searchMemory = answer.memory;
   } else {
      HEAP32[value >> 2] = answer.value;
   }
   return kinds.indexOf(answer.kind);
});
// clang-format on

enum Answer { kBuilding, kReady, kBound, kSolution };

constexpr int kMaxMoves = 96;

const bool listening = (webSearchStartWithPlacing(), true);

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void webSearchStartNow() { webSearchStart(); }

std::vector<std::uint8_t> shortestSolution(const Position& position, SearchWatcher* watcher) {
    (void)listening;
    if (!isSolvablePosition(position)) return {};
    webSearchStart();
    webSearchAsk(position.data());
    std::uint8_t moves[kMaxMoves];
    for (;;) {
        // What the watcher drew goes on the page before the wait, as before
        // every wait of the programs.
        _web_show_screen();
        int value = 0;
        switch (webSearchNext(&value, moves)) {
            case kBuilding:
                if (watcher) watcher->buildingTables();
                break;
            case kReady:
                break;
            case kBound:
                if (watcher) watcher->boundPassed(value);
                break;
            case kSolution:
                return std::vector<std::uint8_t>(moves, moves + value);
            default:
                // The worker's script could not be loaded (offline before the
                // site was ever kept): there is no search to wait for.
                std::abort();
        }
    }
}
