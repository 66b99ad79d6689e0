#pragma once

#include "shell/board_cursor.h"
#include "shell/input_queue.h"
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

// The keyboard's cursor over the 4x4 board; Enter and Space press the left
// button on the cell under it.
extern BoardCursor tilesCursor;

// One poll of the placing phase: every event queued since the last one, in
// the order it came, for as long as placing lasts. J places the rest at
// random.
void placeTilesFrom(Board& board, const InputEvent* events, int count);
