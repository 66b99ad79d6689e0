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

// How the menu was closed: "Uus mäng" or Escape, "Lõpeta", or the key the
// program offered there.
enum class MenuChoice { NewGame, Quit, Offer };

// Shows the menu over the current screen. `offer` is the capital letter of a
// key that also closes it, choosing MenuChoice::Offer ('N'), or 0 for none;
// the page is told which, so that it can offer the same.
MenuChoice chooseOnMenu(char offer);

// A computation that holds the program's one thread for longer than a
// redraw (the shortest search) calls this every few tens of milliseconds.
// On the desktop the library's own thread keeps the window and its input,
// so it does nothing. In the browser the program runs on the page's main
// thread: there it gives the page its turn (events, painting) and comes
// back, so that the page answers while the computation runs. It must not
// read the game's input nor draw.
void keepWindowAlive();
