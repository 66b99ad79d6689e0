#pragma once
// Start-up and menu shared by both programs.

#include <allegro.h>

#include "shell/mouse_latch.h"

// Indexes of MenuDialog, which are also the results of do_dialog on it.
constexpr int kMenuNewGame = 0;
constexpr int kMenuQuit = 1;

extern DIALOG MenuDialog[4];

// The appended datafile, loaded once and never unloaded: `font` points into
// it for the whole run.
extern DATAFILE* fontData;

// Opens the white 640x480 window titled "Kalvorintu!", installs keyboard and
// mouse, loads the font appended to the program file and colours the menu.
// On a failure it shows a message and ends the process with status 1.
void startShell();

// The press latched since the last call, if any (buttons 0 when none).
MousePress takeMousePress();

// Drops the presses latched so far. Called when a game starts, so that only
// presses made while placing may place, and when a solve ends, so that only
// presses made once the outcome shows may choose on the menu.
inline void forgetMousePresses() { takeMousePress(); }

// The pause between two mouse polls of a placing loop: 50 ms, then the rest
// of the time slice goes back to the system so that waiting does not spin.
// In the browser, after a poll that found no press, it lasts until the next
// input event instead.
void restBetweenPolls();

// Shows the menu over the current screen; true when the user chose to quit.
bool menuSaysQuit();
