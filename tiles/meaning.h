#pragma once
// What the tiles screen says, apart from its pixels: the status line that
// the screen draws, and each cell's place and what it holds.

#include "shell/screen_meaning.h"
#include "tiles/board.h"

// The status line for the current GameState, Latin-1; empty when none.
void tilesStatusLine(char* out, int size);

// The key that applies besides placing, as ScreenMeaning::offer has it, and
// the hint line that offers it ("" when none).
char tilesOffer();
const char* tilesHintLine();

ScreenMeaning tilesMeaning(const Board& board);
