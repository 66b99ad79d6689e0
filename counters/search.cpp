#include "counters/search.h"

#include <climits>

// clang-format off
const CounterMove kCounterMoves[kCounterMoveCapacity] = {
    // colour offset destContent
    {1,      +1,    0},  // black, one cell right
    {1,      +2,    0},  // black, two cells right
    {1,      +3,    0},  // black, three cells right
    {2,      -1,    0},  // white, one cell left
    {2,      -2,    0},  // white, two cells left
    {2,      -3,    0},  // white, three cells left
};
// clang-format on

int bestDepth = INT_MAX;
int searchDepth = 0;
SolutionStack solutionStack;
unsigned long searchSolutionCalls = 0;

bool isGoalRow(const Row& row) {
    // Three whites met before any black settle it. Four cells are enough:
    // by then either all three whites were seen or a black came first.
    int whites = 0;
    for (int i = 0; i < 4; ++i) {
        if (row[i] == kWhiteCounter) ++whites;
        if (whites == kCountersPerColour) return true;
        if (row[i] == kBlackCounter) return false;
    }
    return false;
}

void applyMove(Row& row, int cell, int move) {
    const CounterMove& m = kCounterMoves[move];
    row[cell] = m.destContent;
    row[cell + m.offset] = m.colour;
}

bool searchSolution(const Row* row) {
    ++searchSolutionCalls;
    if (isGoalRow(*row)) {
        // Only a strictly shorter goal replaces the recorded solution, so among
        // equally short ones the first met in search order is kept.
        if (searchDepth >= bestDepth) return false;
        solutionStack.top = 0;
        bestDepth = searchDepth;
        return true;
    }

    ++searchDepth;
    bool found = false;
    for (int i = 0; i < kRowLength; ++i) {
        for (int j = 0; j < kCounterMoveCount; ++j) {
            const CounterMove& m = kCounterMoves[j];
            if ((*row)[i] != m.colour) continue;
            const int d = i + m.offset;
            if (d < 0 || d >= kRowLength) continue;
            if ((*row)[d] != m.destContent) continue;

            Row next = *row;
            applyMove(next, i, j);
            // No pruning and no memory of visited rows: every move sends a
            // counter one way only, so the tree is finite and small.
            if (searchSolution(&next)) {
                found = true;
                // A true result means the stack was emptied below us, so the
                // pushes made while unwinding spell out the new best path.
                if (solutionStack.top < kSolutionCapacity) {
                    solutionStack.cell[solutionStack.top] = i;
                    solutionStack.move[solutionStack.top] = j;
                    ++solutionStack.top;
                }
            }
        }
    }
    --searchDepth;
    return found;
}

bool solveRow(const Row* row) { return searchSolution(row); }
