// The browser: what the screen means goes to the page's script, which
// keeps its accessibility tree and its own controls in step with it. Sent
// only when it changed, so waiting costs nothing more.
#include <emscripten.h>

#include <allegro.h>

#include "shell/screen_meaning.h"
#include "shell/shell.h"

namespace {

// The texts are Latin-1: byte N is the character N.
// clang-format off
EM_JS(void, webTellPage, (const char* json, int length), {
   let text = "";
   for (let i = 0; i < length; i++) text += String.fromCharCode(HEAPU8[json + i]);
   if (Module.onProgramSays) Module.onProgramSays(JSON.parse(text));
});
// clang-format on

char buffer[4096];

void send(int length) {
    if (length > 0 && length < int(sizeof buffer)) webTellPage(buffer, length);
}

}  // namespace

void tellScreen(const ScreenMeaning& meaning) {
    send(screenMeaningJson(meaning, buffer, sizeof buffer));
}

void tellMenu(bool up) {
    MenuButtonPlace places[2];
    for (int i = 0; i < 2; ++i) {
        const DIALOG& d = MenuDialog[i];
        places[i] = {static_cast<const char*>(d.dp), d.x, d.y, d.w, d.h};
    }
    send(menuMeaningJson(up, places, 2, buffer, sizeof buffer));
}

namespace {

// The browser calls a task of the page's that runs longer than 50 ms a long
// one: input waits behind it. So a long computation gives the page its turn
// before that, whenever this much time has passed since the last one.
constexpr double kTurnEveryMs = 30;
double lastTurnMs = 0;

}  // namespace

// The program runs on the page's main thread: rest(0) shows the screen as
// drawn so far and hands the thread to the browser (web_timer.c, through
// ASYNCIFY, like every wait of the programs), which runs what waits, paints
// and comes back at once.
void keepWindowAlive() {
    if (emscripten_get_now() - lastTurnMs < kTurnEveryMs) return;
    rest(0);
    lastTurnMs = emscripten_get_now();
}
