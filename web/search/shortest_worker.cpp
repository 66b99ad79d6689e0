// tiles' shortest search in a worker of the page: the very search the
// desktop programs run (tiles/shortest.cpp), in a thread of its own, so
// that the page's main thread, where the program runs, never waits for it
// and the program's file carries none of it. worker.js hands this the
// page's requests; the answers go back as messages (client.cpp reads them).
#include <emscripten.h>

#include <cstdint>

#include "tiles/shortest.h"

namespace {

// clang-format off
EM_JS(void, answer, (const char* kind, int value), {
   postMessage({kind: UTF8ToString(kind), value: value});
});

EM_JS(void, answerSolution, (const std::uint8_t* moves, int count), {
   postMessage({kind: "solution", moves: Array.from(HEAPU8.subarray(moves, moves + count)),
                memory: HEAPU8.buffer.byteLength});
});
// clang-format on

// The page hears of the tables' building often enough to show that it
// goes on, not at every call.
constexpr double kBuildingNoticeMs = 100;

class PageWatcher : public SearchWatcher {
public:
    void buildingTables() override {
        const double now = emscripten_get_now();
        if (now - lastNoticeMs < kBuildingNoticeMs) return;
        lastNoticeMs = now;
        answer("building", 0);
    }
    void boundPassed(int moves) override { answer("bound", moves); }

private:
    double lastNoticeMs = 0;
};

Position asked{};

}  // namespace

extern "C" {

// Where the page writes the position to solve.
EMSCRIPTEN_KEEPALIVE std::uint8_t* webSearchPosition() { return asked.data(); }

EMSCRIPTEN_KEEPALIVE void webSearchPrepare() {
    PageWatcher watcher;
    ShortestTables::shared().prepare(&watcher);
    answer("ready", 0);
}

EMSCRIPTEN_KEEPALIVE void webSearchSolve() {
    PageWatcher watcher;
    const std::vector<std::uint8_t> moves = shortestSolution(asked, &watcher);
    answerSolution(moves.data(), static_cast<int>(moves.size()));
}
}
