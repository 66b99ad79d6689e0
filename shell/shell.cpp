#include "shell/shell.h"

#include <cstdio>
#include <cstdlib>

#include "shell/terminal_text.h"

namespace {

// Texts are Latin-1 bytes: the library runs in U_ASCII, byte N is glyph N.
const char kTitle[] = "Kalvorintu!";
const char kNoScreen[] = "Pilti n\xe4idata ei \xf5nnestunud!";
const char kNoFont[] = "Kirjat\xfc\xfcpi ei \xf5nnestunud laadida!";

char kNewGameLabel[] = "&Uus m\xe4ng";
char kQuitLabel[] = "&L\xf5peta";

MouseLatch pressLatch;

// Runs on the library's input thread, with mouse_x/mouse_y already updated.
void latchPress(int flags) {
    int buttons = 0;
    if (flags & MOUSE_FLAG_LEFT_DOWN) buttons |= kLeftButton;
    if (flags & MOUSE_FLAG_RIGHT_DOWN) buttons |= kRightButton;
    if (buttons != 0) pressLatch.press(buttons, mouse_x, mouse_y);
}
END_OF_STATIC_FUNCTION(latchPress)

[[noreturn]] void failStartup(const char* message) {
    // The library prints the message itself, as Latin-1 bytes, when it
    // cannot show its box or the box is closed other than with OK.
    convertingStdout([message] { allegro_message("%s\n", message); });
    std::exit(1);
}

}  // namespace

DATAFILE* fontData = nullptr;

DIALOG MenuDialog[4] = {
    // proc           x   y    w    h   fg   bg key flags   d1 d2 dp              dp2      dp3
    {d_button_proc, 25, 360, 150, 32, 255, 0, 0, D_EXIT, 0, 0, kNewGameLabel, nullptr, nullptr},
    {d_button_proc, 25, 400, 150, 32, 255, 0, 0, D_EXIT, 0, 0, kQuitLabel, nullptr, nullptr},
    {d_yield_proc, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};

void startShell() {
    set_uformat(U_ASCII);
    if (allegro_init() != 0) {
        // Without a system driver even allegro_message is unsafe; say it
        // the way the library would without a display.
        sayOnTerminal(kNoScreen);
        std::exit(1);
    }
    set_window_title(kTitle);

    if (desktop_color_depth() == 32) set_color_depth(32);
    if (desktop_color_depth() == 16) set_color_depth(16);

    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 640, 480) < 0 &&
        set_gfx_mode(GFX_AUTODETECT, 640, 480, 640, 480) < 0) {
        failStartup(kNoScreen);
    }

    install_keyboard();
    install_mouse();
    LOCK_FUNCTION(latchPress);
    mouse_callback = latchPress;

    clear_to_color(screen, makecol(255, 255, 255));
    show_mouse(screen);

    fontData = load_datafile("#");
    if (fontData == nullptr || fontData[0].type != DAT_FONT) failStartup(kNoFont);
    font = static_cast<FONT*>(fontData[0].dat);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    text_mode(makecol(255, 255, 255));
#pragma GCC diagnostic pop

    // The declared 255/0 would be palette indexes; the menu must be black on
    // white in whatever colour depth is in force.
    for (DIALOG* d = MenuDialog; d->proc != nullptr; ++d) {
        d->bg = makecol(255, 255, 255);
        d->fg = makecol(0, 0, 0);
    }
}

MousePress takeMousePress() { return pressLatch.take(); }

bool menuSaysQuit() {
    // Escape closes the dialog with -1, which starts a new game like the
    // first button; only the second button quits.
    return do_dialog(MenuDialog, kMenuNewGame) == kMenuQuit;
}

void restBetweenPolls() {
    rest(50);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    yield_timeslice();
#pragma GCC diagnostic pop
}
