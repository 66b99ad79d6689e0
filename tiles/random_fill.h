#pragma once
// A random position in one key: the numbers not yet placed go to the cells
// not yet filled, at random.

#include <random>

#include "tiles/board.h"

// Puts nextTile..15 and the gap into the unplaced cells, uniformly among the
// completions that can be solved, or among all of them when none can; the
// numbers already placed stay. Ends placing as the fifteenth number does.
void placeRestAtRandom(Board& board, std::mt19937& random);
