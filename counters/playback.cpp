#include "counters/playback.h"

#include "counters/search.h"
#include "counters/solve_view.h"

void playSolution(Row& row) {
    while (solutionStack.top != 0) {
        // The pause comes first so that the position before each move, the
        // placed row included, stays on screen for the full delay.
        pauseFor(kMoveDelayMs);
        --solutionStack.top;
        applyMove(row, solutionStack.cell[solutionStack.top],
                  solutionStack.move[solutionStack.top]);
        drawScreen(row);
    }
}
