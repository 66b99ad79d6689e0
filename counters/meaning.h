#pragma once
// What the counters screen says, apart from its pixels: the status line that
// the screen draws, and each cell's place and what it holds.

#include "counters/row.h"
#include "shell/screen_meaning.h"

// The status line for the current GameState, Latin-1 ("" when none), and
// the x where the screen starts it.
const char* countersStatusLine(int* left);

ScreenMeaning countersMeaning(const Row& row);
