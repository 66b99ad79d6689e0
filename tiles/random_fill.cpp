#include "tiles/random_fill.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "tiles/shortest.h"

void placeRestAtRandom(Board& board, std::mt19937& random) {
    if (GameState != Placing) return;
    std::vector<int> open;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (board.cells[cell] == kUnplaced) open.push_back(cell);
    }
    std::vector<int> values;
    for (int tile = nextTile; tile <= 15; ++tile) values.push_back(tile);
    values.push_back(kBlank);
    if (values.size() != open.size()) return;

    std::shuffle(values.begin(), values.end(), random);
    for (std::size_t i = 0; i < open.size(); ++i) board.cells[open[i]] = values[i];
    // Exchanging two new numbers (not the gap: moving it changes the
    // parity the position needs) pairs each completion that cannot be solved
    // with one that can, one to one; so turning every loser into its partner
    // keeps the draw uniform among the solvable ones. With 15 and the gap
    // alone left, the other completion is taken only if it can be solved.
    if (!isSolvablePosition(positionOf(board))) {
        int first = -1;
        int second = -1;
        for (int cell : open) {
            if (board.cells[cell] == 15) first = cell;
            if (board.cells[cell] == 14 && nextTile <= 14) second = cell;
            if (board.cells[cell] == kBlank && nextTile == 15) second = cell;
        }
        std::swap(board.cells[first], board.cells[second]);
        if (!isSolvablePosition(positionOf(board))) {
            std::swap(board.cells[first], board.cells[second]);
        }
    }
    GameState = Solving;
    nextTile = 1;
}
