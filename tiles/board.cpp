#include "tiles/board.h"

void Board::reset() {
    parityCount = 0;
    for (int i = 0; i < kCellCount; ++i) {
        cells[i] = kUnplaced;
        locked[i] = 0;
    }
}
