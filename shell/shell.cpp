#include "shell/shell.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "shell/startup_failure.h"

namespace {

// Texts are Latin-1 bytes: the library runs in U_ASCII, byte N is glyph N.
const char kTitle[] = "Kalvorintu!";
const char kNoScreen[] = "Pilti n\xe4idata ei \xf5nnestunud!";
const char kNoFont[] = "Kirjat\xfc\xfcpi ei \xf5nnestunud laadida!";

char kNewGameLabel[] = "&Uus m\xe4ng";
char kQuitLabel[] = "&L\xf5peta";

MouseLatch pressLatch;

// Whether the placing loop's last poll found a press: only a press changes
// what that loop does, so after a poll that found none it has nothing to do
// until input comes.
bool lastPollFoundPress = false;

// The idle pass of both waiting loops, the menu's and the placing loop's.
// On the desktop it rests `ms`: the library's own thread reads the devices
// there whatever the program does, and a pause this short costs no more
// than blocking would. A page, though, wakes for every pause, and at 15 ms
// waking alone costs many times what a blank page does; so in the browser a
// loop that has nothing to look at again (`mustLookAgain` false) sleeps
// until the next input event instead.
void idleUntilInput(int ms, bool mustLookAgain) {
#ifdef ALLEGRO_WEB
    if (!mustLookAgain) {
        web_rest_until_input(ms);
        return;
    }
#else
    (void)mustLookAgain;
#endif
    rest(ms);
}

// Runs on the library's input thread, with mouse_x/mouse_y already updated.
void latchPress(int flags) {
    int buttons = 0;
    if (flags & MOUSE_FLAG_LEFT_DOWN) buttons |= kLeftButton;
    if (flags & MOUSE_FLAG_RIGHT_DOWN) buttons |= kRightButton;
    if (buttons != 0) pressLatch.press(buttons, mouse_x, mouse_y);
}
END_OF_STATIC_FUNCTION(latchPress)

[[noreturn]] void failStartup(const char* message) {
    tellStartupFailure(message);
    std::exit(1);
}

}  // namespace

// --- the menu ----------------------------------------------------------------

namespace {

// Each idle pass of the menu gives the processor back for this long. The
// library's own yield object rests 1 ms, so an untouched menu ran about a
// thousand passes a second and cost twice what the library's own thread
// does. At 15 ms a press shows on its button within 20 ms and a tap closes
// the menu within about 35 ms, which nobody notices.
constexpr int kMenuRestMs = 15;

// The dialog reads the library's button word, which never shows a press
// released before the next pass (a tap from a touchpad, a remote desktop or
// automation). The menu therefore also reads the shell's press latch: a
// latched press is shown to the dialog as held at its latched position until
// the dialog has read it twice, once in its own pass and once in the
// button's tracking loop, and an idle message has followed; then released.
// Only the dialog's own reads take from the latch and count: the library's
// timer also reads the buttons, for double clicks. On a system with threads
// the timer has a thread of its own; where there is one thread (the
// browser), the timer runs while the menu rests.
thread_local bool runsTheMenu = false;
bool menuRests = false;
std::atomic<int> tapButtons{0};
std::atomic<int> tapX{0};
std::atomic<int> tapY{0};
int tapReads = 0;

int menuMouseB() {
    if (runsTheMenu && !menuRests) {
        if (tapButtons.load() == 0) {
            MousePress press = pressLatch.take();
            if (press.buttons != 0) {
                tapX = press.x;
                tapY = press.y;
                tapReads = 0;
                tapButtons = press.buttons;
            }
        }
        if (tapButtons.load() != 0) ++tapReads;
    }
    return mouse_b | tapButtons.load();
}

int menuMouseX() { return tapButtons.load() != 0 ? tapX.load() : mouse_x; }
int menuMouseY() { return tapButtons.load() != 0 ? tapY.load() : mouse_y; }

// Entry 2 of the menu: gives the processor back while the dialog waits, and
// ends a tap once both readers have seen it held. A tap still shown as held
// must be let go by a later pass, and a key still in the buffer is read by
// one, whether or not more input comes.
int menuYieldProc(int msg, DIALOG*, int) {
    if (msg == MSG_IDLE) {
        if (runsTheMenu && tapButtons.load() != 0 && tapReads >= 2) tapButtons = 0;
        menuRests = true;
        idleUntilInput(kMenuRestMs, tapButtons.load() != 0 || keypressed());
        menuRests = false;
    }
    return D_O_K;
}

}  // namespace

DATAFILE* fontData = nullptr;

DIALOG MenuDialog[4] = {
    // proc           x   y    w    h   fg   bg key flags   d1 d2 dp              dp2      dp3
    {d_button_proc, 25, 360, 150, 32, 255, 0, 0, D_EXIT, 0, 0, kNewGameLabel, nullptr, nullptr},
    {d_button_proc, 25, 400, 150, 32, 255, 0, 0, D_EXIT, 0, 0, kQuitLabel, nullptr, nullptr},
    {menuYieldProc, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};

void startShell() {
    set_uformat(U_ASCII);
    if (allegro_init() != 0) {
        tellWithoutLibrary(kNoScreen);
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

MousePress takeMousePress() {
    const MousePress press = pressLatch.take();
    lastPollFoundPress = press.buttons != 0;
    return press;
}

bool menuSaysQuit() {
    tapButtons = 0;
    runsTheMenu = true;
    gui_mouse_b = menuMouseB;
    gui_mouse_x = menuMouseX;
    gui_mouse_y = menuMouseY;
    // Escape closes the dialog with -1, which starts a new game like the
    // first button; only the second button quits.
    return do_dialog(MenuDialog, kMenuNewGame) == kMenuQuit;
}

void restBetweenPolls() {
    idleUntilInput(50, lastPollFoundPress);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    yield_timeslice();
#pragma GCC diagnostic pop
}
