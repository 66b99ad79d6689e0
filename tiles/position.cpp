// What a position is, apart from the search that solves it: whether it can
// be solved, and the board record read as one. The browser runs the search
// in a worker of its own (web/shortest_worker.cpp) and the program keeps
// these.
#include "tiles/board.h"
#include "tiles/shortest.h"

bool isSolvablePosition(const Position& position) {
    unsigned seen = 0;
    for (std::uint8_t value : position) {
        if (value > 15 || (seen & (1u << value))) return false;
        seen |= 1u << value;
    }
    // The permutation's parity (gap as 16) must equal that of the gap's
    // distance from home: each move is one exchange and one step.
    int inversions = 0;
    int gap = 0;
    for (int i = 0; i < 16; ++i) {
        const int a = position[i] == 0 ? 16 : position[i];
        if (position[i] == 0) gap = i;
        for (int j = i + 1; j < 16; ++j) inversions += a > (position[j] == 0 ? 16 : position[j]);
    }
    return inversions % 2 == (3 - gap / 4 + 3 - gap % 4) % 2;
}

Position positionOf(const Board& board) {
    Position position{};
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            position[row * kBoardSide + col] =
                static_cast<std::uint8_t>(board.cells[cellIndex(col, row)]);
        }
    }
    return position;
}
