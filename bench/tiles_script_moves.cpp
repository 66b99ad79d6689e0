// How many moves the solving script makes against the fewest possible, on
// random solvable positions that the script gets through.
//
//   tiles_script_moves [positions [seed]]     (defaults: 1000, 12345)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tiles/board.h"
#include "tiles/shortest.h"
#include "tiles/solve_view.h"

namespace {

// A redraw after a tile slid counts one move; the script redraws after
// every single step of a tile or of the gap, and also after a pass that
// finds its tile already home, which moves nothing.
int moves = 0;
std::int32_t lastCells[kCellCount];

}  // namespace

void drawScreen(const Board& board) {
    if (std::memcmp(board.cells, lastCells, sizeof lastCells) != 0) ++moves;
    std::memcpy(lastCells, board.cells, sizeof lastCells);
}
void pauseFor(int) {}

int main(int argc, char** argv) {
    const long positions = argc > 1 ? std::atol(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? unsigned(std::atol(argv[2])) : 12345u;
    std::mt19937 rng(seed);

    long tried = 0;
    long scriptMoves = 0;
    long shortestMoves = 0;
    double worstRatio = 0;
    Board board;
    for (long n = 0; n < positions;) {
        board.reset();
        int values[16];
        for (int i = 0; i < 16; ++i) values[i] = i;
        std::shuffle(values, values + 16, rng);
        for (int i = 0; i < 16; ++i) board.cells[i] = values[i];
        if (!board.isSolvable()) continue;
        ++tried;
        const Position start = positionOf(board);
        GameState = Solving;
        moves = 0;
        std::memcpy(lastCells, board.cells, sizeof lastCells);
        board.solve();
        if (GameState != Solved) continue;
        ++n;
        const int shortest = int(shortestSolution(start).size());
        scriptMoves += moves;
        shortestMoves += shortest;
        if (shortest > 0) worstRatio = std::max(worstRatio, double(moves) / shortest);
    }

    std::printf("%ld positions the script solves, of %ld random solvable ones (seed %u)\n",
                positions, tried, seed);
    std::printf("script: %.1f moves on average\n", double(scriptMoves) / positions);
    std::printf("shortest: %.1f moves on average\n", double(shortestMoves) / positions);
    std::printf("the script makes %.2f times as many moves (at worst %.2f times)\n",
                double(scriptMoves) / shortestMoves, worstRatio);
}
