#include "tiles/board.h"
#include "tiles/solve_view.h"

// The solving script: the rows of kSolveScript one after another, with
// manoeuvres for the few situations in which the two-tile technique for a
// pair would be stuck. Every move is shown and followed by a pause.

namespace {

// One tile placed in the solved layout, by reading order.
constexpr int kSolvedLayout[kBoardSide][kBoardSide] = {
    {1, 2, 3, 4},
    {5, 6, 7, 8},
    {9, 10, 11, 12},
    {13, 14, 15, kBlank},
};

int valueAt(const Board& board, int col, int row) { return board.cells[cellIndex(col, row)]; }

// One move call as the manoeuvres make it. False when the step gave up: the
// tile did not move and further calls could never get it there.
bool moveCall(Board& board, int tile, int col, int row) {
    board.stepTileToward(tile, col, row);
    if (GameState == GaveUp) return false;
    drawScreen(board);
    pauseFor(moveDelayMs);
    return true;
}

bool moveUntilThere(Board& board, int tile, int col, int row) {
    while (valueAt(board, col, row) != tile) {
        if (!moveCall(board, tile, col, row)) return false;
    }
    return true;
}

}  // namespace

void Board::solve() {
    stepIndex = 0;
    while (stepIndex < kStepCount) {
        int s = stepIndex;

        // Each check reads s as it stands, so a jump earlier in the pass
        // brings later checks into play (12 to 16, then 16 to 20).
        if (s == 2) {
            if (valueAt(*this, 2, 0) == 3 && valueAt(*this, 3, 0) == 4) {
                stepIndex = s = 6;
            } else if (valueAt(*this, 2, 0) == 4 && valueAt(*this, 3, 0) == 3) {
                if (!moveUntilThere(*this, 3, 3, 2) || !moveUntilThere(*this, 4, 2, 2)) break;
            }
        }
        if (s == 7) {
            if (valueAt(*this, 0, 2) == 9 && valueAt(*this, 0, 3) == 13) {
                stepIndex = s = 11;
            } else if (valueAt(*this, 0, 2) == 13 && valueAt(*this, 0, 3) == 9) {
                if (!moveUntilThere(*this, 9, 2, 3) || !moveUntilThere(*this, 13, 2, 2)) break;
                locked[cellIndex(2, 2)] = 0;
                locked[cellIndex(2, 3)] = 0;
            }
        }
        if (s == 8) {
            // Pocket: 9 parked on (0,3), the blank shut in on (0,2). Sliding 13
            // in leaves the pair swapped for step 7 to sort out.
            if (valueAt(*this, 0, 2) == kBlank && valueAt(*this, 0, 3) == 9 &&
                valueAt(*this, 1, 2) == 13) {
                if (!moveCall(*this, 13, 0, 2)) break;
                locked[cellIndex(0, 2)] = 0;
                locked[cellIndex(0, 3)] = 0;
                stepIndex = 7;
                continue;
            }
        } else {
            if (s == 12) {
                if (valueAt(*this, 2, 1) == 7 && valueAt(*this, 3, 1) == 8) {
                    stepIndex = s = 16;
                } else if (valueAt(*this, 2, 1) == 8 && valueAt(*this, 3, 1) == 7) {
                    if (!moveUntilThere(*this, 7, 3, 3) || !moveUntilThere(*this, 8, 2, 3)) break;
                }
            }
            if (s == 13) {
                // Pocket: 7 parked on (3,1), the blank shut in on (2,1).
                if (valueAt(*this, 2, 1) == kBlank && valueAt(*this, 3, 1) == 7 &&
                    valueAt(*this, 2, 2) == 8) {
                    if (!moveCall(*this, 8, 2, 1)) break;
                    locked[cellIndex(2, 1)] = 0;
                    locked[cellIndex(3, 1)] = 0;
                    stepIndex = 7;
                    continue;
                }
            } else if (s == 16) {
                if (valueAt(*this, 1, 2) == 10 && valueAt(*this, 1, 3) == 14) {
                    stepIndex = s = 20;
                } else if (valueAt(*this, 1, 2) == 14 && valueAt(*this, 1, 3) == 10) {
                    if (!moveUntilThere(*this, 10, 3, 3) || !moveUntilThere(*this, 14, 3, 2)) {
                        break;
                    }
                }
            }
        }

        // The generic step. A pass that finds the tile home still redraws and
        // pauses, so every finished step costs one pause without a move.
        const SolveStep& step = kSolveScript[s];
        if (stepTileToward(step.tile, step.col, step.row) == 0) ++stepIndex;
        if (GameState == GaveUp) break;
        drawScreen(*this);
        pauseFor(moveDelayMs);
    }

    // Whatever ended the loop, only the board itself decides the outcome.
    GameState = Solved;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            if (cells[cellIndex(col, row)] != kSolvedLayout[row][col]) {
                GameState = GaveUp;
                break;
            }
        }
    }
}
