#include "tiles/board.h"

// Permutation-parity test. The position is read as a permutation of the 16
// squares in reading order, the blank counting as 16; it is solvable when the
// number of exchanges that sort it has the parity of the blank's distance
// from its home square (3, 3).

namespace {

// The square holding `number`; every number stands on exactly one square.
int squareOf(const std::int32_t* perm, int number) {
    for (int i = 1; i <= kCellCount; ++i) {
        if (perm[i] == number) return i;
    }
    return 0;
}

}  // namespace

bool Board::isSolvable() {
    // The reset before each game zeroes the sum too; starting from 0 here keeps
    // a second test of the same position from reading a stale sum.
    parityCount = 0;
    for (int i = 0; i < 17; ++i) visited[i] = 0;
    int blankCol = 0;
    int blankRow = 0;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            int v = cells[cellIndex(col, row)];
            if (v == kBlank) {
                blankCol = col;
                blankRow = row;
                v = 16;
            }
            perm[1 + row * kBoardSide + col] = v;
        }
    }

    // Each cycle is entered at its smallest number and adds its length less
    // one, so the sum is 16 minus the number of cycles.
    for (int k = 1; k <= kCellCount; ++k) {
        if (visited[k] == 1) continue;
        if (perm[k] == k) {
            visited[k] = 1;
            continue;
        }
        int i = squareOf(perm, k);
        if (i == 0 || visited[i] == 1) continue;
        ++parityCount;
        visited[k] = 1;
        traceCycle(i);
    }

    parityCount += 6 - blankCol - blankRow;
    return parityCount % 2 == 0;
}

// The closing link back to the cycle's first number is not counted: its
// predecessor is already marked, so the walk stops one member short.
void Board::traceCycle(int index) {
    if (visited[index] == 1) return;
    if (perm[index] == index) {
        visited[index] = 1;
        return;
    }
    int i = squareOf(perm, index);
    if (i == 0 || visited[i] == 1) return;
    ++parityCount;
    visited[index] = 1;
    traceCycle(i);
}
