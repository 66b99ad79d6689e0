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
    // Exchanging the first two new values pairs each completion that cannot
    // be solved with one that can, one to one; so turning every loser into
    // its partner keeps the draw uniform among the solvable ones. With a
    // single value left there is nothing to exchange and nothing to choose.
    if (open.size() >= 2 && !isSolvablePosition(positionOf(board))) {
        std::swap(board.cells[open[0]], board.cells[open[1]]);
    }
    GameState = Solving;
    nextTile = 1;
}
