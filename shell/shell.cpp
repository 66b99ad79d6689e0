#include "shell/shell.h"

#include <cstdio>
#include <cstdlib>

#include "shell/hint_line.h"
#include "shell/menu_pointer.h"
#include "shell/screen_meaning.h"
#include "shell/startup_failure.h"

namespace {

// Texts are Latin-1 bytes: the library runs in U_ASCII, byte N is glyph N.
const char kTitle[] = "Kalvorintu!";
const char kNoScreen[] = "Pilti n\xe4idata ei \xf5nnestunud!";
const char kNoFont[] = "Kirjat\xfc\xfcpi ei \xf5nnestunud laadida!";

char kNewGameLabel[] = "&Uus m\xe4ng";
char kQuitLabel[] = "&L\xf5peta";

InputQueue inputQueue;

// Whether the placing loop's last poll found input: only input changes what
// that loop does, so after a poll that found none it has nothing to do until
// input comes.
bool lastPollFoundInput = false;

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

// Run on the library's input thread, with mouse_x/mouse_y already updated.
void queueMouse(int flags) {
    int down = 0, up = 0;
    if (flags & MOUSE_FLAG_LEFT_DOWN) down |= kLeftButton;
    if (flags & MOUSE_FLAG_RIGHT_DOWN) down |= kRightButton;
    if (flags & MOUSE_FLAG_LEFT_UP) up |= kLeftButton;
    if (flags & MOUSE_FLAG_RIGHT_UP) up |= kRightButton;
    if (down != 0) inputQueue.push({InputEvent::Press, down, mouse_x, mouse_y, GameKey::None});
    if (up != 0) inputQueue.push({InputEvent::Release, up, mouse_x, mouse_y, GameKey::None});
}
END_OF_STATIC_FUNCTION(queueMouse)

// The library's scancodes of the keys the games answer to while placing.
const struct {
    int scancode;
    GameKey key;
} kGameKeys[] = {
    {KEY_LEFT, GameKey::Left},   {KEY_RIGHT, GameKey::Right}, {KEY_UP, GameKey::Up},
    {KEY_DOWN, GameKey::Down},   {KEY_ENTER, GameKey::Enter}, {KEY_ENTER_PAD, GameKey::Enter},
    {KEY_SPACE, GameKey::Space}, {KEY_V, GameKey::V},         {KEY_M, GameKey::M},
    {KEY_J, GameKey::J},         {KEY_N, GameKey::N},
};

// Every key that goes into the library's buffer, autorepeat included; the
// buffer keeps it too, for the menu.
int queueKey(int key, int* scancode) {
    for (const auto& k : kGameKeys) {
        if (k.scancode == *scancode) inputQueue.push({InputEvent::Key, 0, 0, 0, k.key});
    }
    return key;
}
END_OF_STATIC_FUNCTION(queueKey)

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

// The dialog sees the queued presses one at a time (shell/menu_pointer.h).
// Only the dialog's own reads take from the queue and count: the library's
// timer also reads the buttons, for double clicks. On a system with threads
// the timer has a thread of its own; where there is one thread (the
// browser), the timer runs while the menu rests.
thread_local bool runsTheMenu = false;
bool menuRests = false;
// The library's scancode of the key the program offers on the menu, or 0.
int offerScancode = 0;
MenuPointer menuPointer{inputQueue};

bool dialogReads() { return runsTheMenu && !menuRests; }

int menuMouseB() {
    if (!dialogReads()) return menuPointer.peekButtons(mouse_b);
    return menuPointer.buttons(mouse_b, mouse_x, mouse_y);
}

int menuMouseX() { return menuPointer.x(mouse_x); }
int menuMouseY() { return menuPointer.y(mouse_y); }

// Entry 2 of the menu: gives the processor back while the dialog waits, and
// moves the shown press on. A press still shown must be moved on by a later
// pass, and a key still in the buffer is read by one, whether or not more
// input comes.
//
// It also closes the menu on the key the program offers. The dialog hands a
// key that neither the focused button nor a shortcut took to every entry
// (MSG_XCHAR) before it looks at Enter, space, Escape and the focus keys, so
// taking only the offered key leaves all of those as they are.
int menuYieldProc(int msg, DIALOG*, int c) {
    if (msg == MSG_XCHAR && offerScancode != 0 && (c >> 8) == offerScancode) {
        return D_CLOSE | D_USED_CHAR;
    }
    if (msg == MSG_IDLE) {
        if (runsTheMenu) menuPointer.idle(mouse_b);
        menuRests = true;
        idleUntilInput(kMenuRestMs, menuPointer.busy() || keypressed());
        menuRests = false;
    }
    return D_O_K;
}

}  // namespace

DATAFILE* fontData = nullptr;

namespace {
// The entry that closes the menu on the offered key.
constexpr int kMenuOffer = 2;
}  // namespace

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
    LOCK_FUNCTION(queueMouse);
    mouse_callback = queueMouse;
    LOCK_FUNCTION(queueKey);
    keyboard_ucallback = queueKey;

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

int takeInput(InputQueue::Batch& out) {
    const int n = inputQueue.takeAll(out);
    lastPollFoundInput = n > 0;
    return n;
}

void startPlacingInput() { inputQueue.dropKeys(); }

void forgetInput() { inputQueue.clear(); }

MenuChoice chooseOnMenu(char offer) {
    menuPointer.open();
    runsTheMenu = true;
    gui_mouse_b = menuMouseB;
    gui_mouse_x = menuMouseX;
    gui_mouse_y = menuMouseY;
    // The library numbers the letter keys A to Z in a row.
    offerScancode = offer >= 'A' && offer <= 'Z' ? KEY_A + (offer - 'A') : 0;
    tellMenu(true, offer);
    const int result = do_dialog(MenuDialog, kMenuNewGame);
    offerScancode = 0;
    tellMenu(false, 0);
    if (result == kMenuQuit) return MenuChoice::Quit;
    if (result == kMenuOffer) return MenuChoice::Offer;
    // Escape closes the dialog with -1, which starts a new game like the
    // first button; only the second button quits.
    return MenuChoice::NewGame;
}

void restBetweenPolls() {
    idleUntilInput(50, lastPollFoundInput);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    yield_timeslice();
#pragma GCC diagnostic pop
}

// --- the hint line ------------------------------------------------------------

void drawHintLine(const char* line) {
    // Both programs' redraws come here with the screen held; cleared first so
    // that a shorter line, or none, leaves nothing of a longer one.
    const int white = makecol(255, 255, 255);
    rectfill(screen, kHintX, kHintY, SCREEN_W - 1, kHintY + text_height(font) - 1, white);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (line[0] != '\0') textout(screen, font, line, kHintX, kHintY, makecol(0, 0, 0));
#pragma GCC diagnostic pop
}
