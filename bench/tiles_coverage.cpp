// How often the solving script gets through: solves random solvable
// positions without pauses and counts the outcomes, and the step at which
// the script stops on the rest.
//
//   tiles_coverage [positions [seed]]     (defaults: 100000, 12345)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

#include "tiles/board.h"
#include "tiles/solve_view.h"

namespace {
int redraws = 0;
}

void drawScreen(const Board&) { ++redraws; }
void pauseFor(int) {}

int main(int argc, char** argv) {
    const long positions = argc > 1 ? std::atol(argv[1]) : 100000;
    const unsigned seed = argc > 2 ? unsigned(std::atol(argv[2])) : 12345u;
    std::mt19937 rng(seed);

    long solved = 0;
    int longest = 0;
    std::map<int, long> stoppedAt;
    Board board;
    for (long n = 0; n < positions;) {
        board.reset();
        int values[16];
        for (int i = 0; i < 16; ++i) values[i] = i;
        std::shuffle(values, values + 16, rng);
        for (int i = 0; i < 16; ++i) board.cells[i] = values[i];
        if (!board.isSolvable()) continue;
        ++n;
        board.reset();
        for (int i = 0; i < 16; ++i) board.cells[i] = values[i];
        GameState = Solving;
        redraws = 0;
        board.solve();
        longest = std::max(longest, redraws);
        if (GameState == Solved) {
            ++solved;
        } else {
            ++stoppedAt[stepIndex];
        }
    }

    std::printf("%ld random solvable positions (seed %u)\n", positions, seed);
    std::printf("solved: %ld (%.2f %%)\n", solved, 100.0 * solved / positions);
    for (const auto& [step, count] : stoppedAt) {
        std::printf("stopped at step %d: %ld (%.2f %%)\n", step, count, 100.0 * count / positions);
    }
    std::printf("longest solve: %d redraws\n", longest);
}
