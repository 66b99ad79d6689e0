#pragma once
// Placing counters with the mouse, apart from the library that reports it.

#include "counters/row.h"
#include "shell/board_cursor.h"
#include "shell/input_queue.h"

// Horizontal distance between neighbouring cells on screen.
constexpr int kCellPitch = 52;

// The cell whose hit box holds the point, or -1.
int cellUnderPointer(int x, int y);

// The middle of cell k's hit box (the row argument is always 0): where a
// key's press lands, and where the page presses for a screen reader.
void hitBoxMiddle(int k, int row, int* x, int* y);

// Acts on one press in the placing phase: fills at most one empty
// cell, keeps the counts, and after the sixth counter switches to Solving.
void placeCounterAt(Row& row, const MousePress& press);

// The keyboard's cursor over the row: Enter and V press the left button
// (white) on the cell under it, Space and M the right one (black).
extern BoardCursor countersCursor;

// One poll of the placing phase: every event queued since the last one, in
// the order it came, for as long as placing lasts. J places the rest at
// random.
void placeCountersFrom(Row& row, const InputEvent* events, int count);
