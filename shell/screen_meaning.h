#pragma once
// What a program's screen means, apart from its pixels: the status line's
// text, and the board's cells with what each holds. The programs say it
// after every redraw that changed the screen, and the shell says when the
// menu opens and closes. A system that can show it to assistive technology
// does (the browser's page); the desktop has none to tell.

constexpr int kMaxMeaningCells = 16;

struct CellMeaning {
    char name[48] = "";  // Latin-1: the cell's place and what it holds
    // The drawn cell in screen pixels, corners included.
    int left = 0, top = 0, right = 0, bottom = 0;
    int x = 0, y = 0;  // where a press places on it
};

struct ScreenMeaning {
    char status[64] = "";  // the status line as drawn, Latin-1; empty when none
    // The hint line as drawn, Latin-1, empty when none: the one key that
    // applies besides placing, and what it does.
    char hint[64] = "";
    // That key's letter while it applies: 'J' (a random position) while
    // placing, 'N' (the shortest solution) at the menu after a tiles game
    // that could be solved; 0 when there is none. The page offers the same
    // as a button of its own.
    char offer = 0;
    int cols = 0;
    int rows = 0;
    CellMeaning cells[kMaxMeaningCells];  // reading order, cols * rows of them
    int cursor = -1;                      // the keyboard cursor's cell while placing, else -1
};

// A menu button: its label as the dialog has it ("&" before the shortcut
// letter) and its place in screen pixels.
struct MenuButtonPlace {
    const char* label;
    int x, y, w, h;
};

// The same, as the JSON text (Latin-1) the page reads; the length it has, or
// would have had if `size` was too small.
int screenMeaningJson(const ScreenMeaning& meaning, char* out, int size);
// `offer`: the letter of the key that also closes the menu while it is up
// (0 for none), as in ScreenMeaning.
int menuMeaningJson(bool up, char offer, const MenuButtonPlace* buttons, int count, char* out,
                    int size);

// Both send to the page where there is one; elsewhere they do nothing.
void tellScreen(const ScreenMeaning& meaning);
void tellMenu(bool up, char offer);
