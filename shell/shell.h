#pragma once
// Start-up and menu shared by both programs.

#include <allegro.h>

#include "shell/input_queue.h"

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

// Every press, release and key queued since the last call, oldest first;
// returns how many.
int takeInput(InputQueue::Batch& out);

// A game starts. Keys typed while the menu was up are dropped; presses that
// came after the one that closed the menu stay, so that a tap on "Uus mäng"
// followed at once by one on the board places.
void startPlacingInput();

// A solve ended: what came while it ran is dropped, so that only presses
// made once the outcome shows may choose on the menu.
void forgetInput();

// The pause between two polls of a placing loop: 50 ms, then the rest of
// the time slice goes back to the system so that waiting does not spin. In
// the browser, after a poll that found no input, it lasts until the next
// input event instead.
void restBetweenPolls();

// Shows the menu over the current screen; true when the user chose to quit.
bool menuSaysQuit();
