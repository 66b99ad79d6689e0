#pragma once
// What tiles shows and reads: the board, its status line, the mouse.

#include "tiles/board.h"
#include "tiles/solve_view.h"

void drawCell(int value, int col, int row);
// One poll of the placing phase: the mouse and the keys.
void placeTile(Board& board);
