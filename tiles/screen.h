#pragma once
// What tiles shows and reads: the board, its status line, the mouse.

#include "tiles/board.h"
#include "tiles/solve_view.h"

void drawCell(int value, int col, int row);
// One poll of the placing phase: the mouse and the keys.
void placeTile(Board& board);

// Plays the shortest solution of the position last placed, showing the
// search's progress while it runs.
void showShortest(Board& board);
