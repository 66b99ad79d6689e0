#pragma once

#include "shell/mouse_latch.h"
#include "tiles/board.h"

// Board geometry in screen pixels, shared by drawing and hit testing.
constexpr int kCellPitch = 65;
constexpr int kBoardLeft = 220;  // left edge of cell (0, row)
constexpr int kBoardTop = 110;   // top edge of cell (col, 0)
constexpr int kCellSpan = 60;    // right edge minus left edge of a drawn cell

// One poll of the placing phase: a left press on an unplaced cell puts
// nextTile there; the fifteenth number makes the last cell the blank and
// ends placing.
void placeTileAt(Board& board, const MousePress& press);
