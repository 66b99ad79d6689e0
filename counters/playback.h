#pragma once
// Shows the solution left on solutionStack, one move at a time.

#include "counters/row.h"

constexpr int kMoveDelayMs = 1500;

// Plays every move on the stack onto `row`, pausing before each and
// redrawing after it; leaves the stack empty.
void playSolution(Row& row);
