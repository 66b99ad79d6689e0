#include "tiles/board.h"

int GameState = Idle;
int nextTile = 1;
int stepIndex = 0;

// Bring `tile` to cell (col, row). Pairs that end a row or a column are built
// by parking the first tile on the second one's cell and the second beside
// it, then sliding both home.
const SolveStep kSolveScript[kScriptCapacity] = {
    // tile col row
    {1, 0, 0},   //  0 top row
    {2, 1, 0},   //  1 top row
    {3, 3, 0},   //  2 pair 3/4: 3 parked on 4's cell
    {4, 3, 1},   //  3 4 parked below it
    {3, 2, 0},   //  4 3 slides left into its cell
    {4, 3, 0},   //  5 4 slides up into its cell
    {5, 0, 1},   //  6 left column
    {9, 0, 3},   //  7 pair 9/13: 9 parked on 13's cell
    {13, 1, 3},  //  8 13 parked right of it
    {9, 0, 2},   //  9 9 slides up into its cell
    {13, 0, 3},  // 10 13 slides left into its cell
    {6, 1, 1},   // 11 second row
    {7, 3, 1},   // 12 pair 7/8: 7 parked on 8's cell
    {8, 3, 2},   // 13 8 parked below it
    {7, 2, 1},   // 14 7 slides left into its cell
    {8, 3, 1},   // 15 8 slides up into its cell
    {14, 1, 2},  // 16 pair 10/14: 14 parked on 10's cell
    {10, 2, 2},  // 17 10 parked right of it
    {14, 1, 3},  // 18 14 slides down into its cell
    {10, 1, 2},  // 19 10 slides left into its cell
    {11, 2, 2},  // 20 last block
    {12, 3, 2},  // 21 last block
    {15, 2, 3},  // 22 last block; the blank ends on (3,3)
    // The row after the script must read as tile 0: the status line of the
    // redraws after the last step names no tile.
    // clang-format off
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    // clang-format on
};
