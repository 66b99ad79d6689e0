#pragma once
// Drawing the counters screen and reading the mouse: the only part of the
// program besides main.cpp that talks to the library.

#include "counters/row.h"
#include "counters/solve_view.h"

// Paints one cell's content (0 empty, 1 black, 2 white) in cell `index`.
void drawCounter(int content, int index);

// One poll of the mouse while placing.
void placeCounter(Row& row);
