#pragma once
// Placing counters with the mouse, apart from the library that reports it.

#include "counters/row.h"
#include "shell/mouse_latch.h"

// Horizontal distance between neighbouring cells on screen.
constexpr int kCellPitch = 52;

// The cell whose hit box holds the point, or -1.
int cellUnderPointer(int x, int y);

// Acts on one latched press in the placing phase: fills at most one empty
// cell, keeps the counts, and after the sixth counter switches to Solving.
void placeCounterAt(Row& row, const MousePress& press);
