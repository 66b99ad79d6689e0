#pragma once
// A random row in one key: the counters not yet placed go to empty cells at
// random.

#include <random>

#include "counters/row.h"

// Places the white and black counters still missing, uniformly among the
// completions that have a solution; those already placed stay. Ends placing
// as the sixth counter does.
void placeRestAtRandom(Row& row, std::mt19937& random);
