#include "tiles/board.h"

// Routes and single moves. Planning sees only cells and their lock marks:
// any unlocked cell is passable, tiles in the way are dealt with by bringing
// the blank round to them. The marks of the search live in `locked` itself,
// so nothing is allocated and the board is never copied.

namespace {

// Neighbour offsets indexed by Direction; index 0 (kAtTarget) is unused.
constexpr int kStepCol[5] = {0, -1, 1, 0, 0};
constexpr int kStepRow[5] = {0, 0, 0, -1, 1};

bool onBoard(int col, int row) {
    return col >= 0 && col < kBoardSide && row >= 0 && row < kBoardSide;
}

}  // namespace

CellPos Board::findValue(int value) const {
    for (int col = 0; col < kBoardSide; ++col) {
        for (int row = 0; row < kBoardSide; ++row) {
            if (cells[cellIndex(col, row)] == value) return {col, row};
        }
    }
    return {-1, -1};
}

// Exhaustive search over simple routes. Each cell of the route being explored
// is marked on entry and written back as 0 on exit: the search only enters
// cells whose mark was 0, so the marks come out exactly as they went in.
int Board::pathLength(int col, int row, int goalCol, int goalRow) {
    if (col == goalCol && row == goalRow) return 0;
    locked[cellIndex(col, row)] = 1;
    int best = kPathCap;
    for (int k = kLeft; k <= kDown; ++k) {
        int c = col + kStepCol[k];
        int r = row + kStepRow[k];
        if (!onBoard(c, r) || locked[cellIndex(c, r)] != 0) continue;
        int d = pathLength(c, r, goalCol, goalRow);
        if (d < best) best = d;
    }
    locked[cellIndex(col, row)] = 0;
    return best + 1;
}

// The own mark is written back as 0 even when it was a lock: planning for a
// placed tile again is what frees its cell. The strict comparison makes the
// earlier of two equally short directions win.
int Board::chooseDirection(int col, int row, int goalCol, int goalRow) {
    if (col == goalCol && row == goalRow) return kAtTarget;
    locked[cellIndex(col, row)] = 1;
    int best = kPathCap;
    int result = kNoRoute;
    for (int k = kLeft; k <= kDown; ++k) {
        int c = col + kStepCol[k];
        int r = row + kStepRow[k];
        if (!onBoard(c, r) || locked[cellIndex(c, r)] != 0) continue;
        int cost = pathLength(c, r, goalCol, goalRow);
        if (cost < best) {
            best = cost;
            result = k;
        }
    }
    locked[cellIndex(col, row)] = 0;
    return result;
}

void Board::stepBlankToward(int goalCol, int goalRow) {
    CellPos blank = findValue(kBlank);
    if (blank.col < 0 || (blank.col == goalCol && blank.row == goalRow)) {
        GameState = GaveUp;
        return;
    }
    int k = chooseDirection(blank.col, blank.row, goalCol, goalRow);
    if (k < kLeft) {
        GameState = GaveUp;
        return;
    }
    int from = cellIndex(blank.col + kStepCol[k], blank.row + kStepRow[k]);
    cells[cellIndex(blank.col, blank.row)] = cells[from];
    cells[from] = kBlank;
}

int Board::stepTileToward(int tile, int goalCol, int goalRow) {
    CellPos at = findValue(tile);
    if (at.col < 0) {
        // Not on the board at all: nothing can be moved toward the goal.
        GameState = GaveUp;
        return 1;
    }
    int here = cellIndex(at.col, at.row);
    if (at.col == goalCol && at.row == goalRow) {
        locked[here] = 1;
        return 0;
    }
    int k = chooseDirection(at.col, at.row, goalCol, goalRow);
    int nextCol = at.col;
    int nextRow = at.row;
    if (k >= kLeft) {
        nextCol += kStepCol[k];
        nextRow += kStepRow[k];
    }
    int next = cellIndex(nextCol, nextRow);
    if (cells[next] == kBlank) {
        cells[next] = tile;
        cells[here] = kBlank;
        return 1;
    }
    // The lock makes the blank go round the tile instead of pushing it back.
    // With no route for the tile, next is its own cell, now locked, so the
    // blank finds no way there either and the step gives up.
    locked[here] = 1;
    stepBlankToward(nextCol, nextRow);
    return 1;
}
