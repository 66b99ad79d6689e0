// The browser: what the screen means goes to the page's script, which
// keeps its accessibility tree and its own controls in step with it. Sent
// only when it changed, so waiting costs nothing more.
#include <emscripten.h>

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

void tellMenu(bool up, char offer) {
    MenuButtonPlace places[2];
    for (int i = 0; i < 2; ++i) {
        const DIALOG& d = MenuDialog[i];
        places[i] = {static_cast<const char*>(d.dp), d.x, d.y, d.w, d.h};
    }
    send(menuMeaningJson(up, offer, places, 2, buffer, sizeof buffer));
}

// The page's turn during a long computation (shell.h). The one such
// computation, tiles' shortest search, runs in a worker of the page's
// (web/search/): the program only waits for its answers, as it waits for
// input, and the page's main thread is free meanwhile.
void keepWindowAlive() {}
