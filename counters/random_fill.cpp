#include "counters/random_fill.h"

#include <vector>

#include "counters/search.h"

namespace {

// Some rows cannot be solved at all (all three blacks left of the whites
// with the empty cell at the right end: no counter can move), so whether a
// row has a solution is found by trying every move, remembered per row.
constexpr int kRowCodes = 2187;  // 3^7

int codeOf(const Row& row) {
    int code = 0;
    for (int i = 0; i < kRowLength; ++i) code = code * 3 + row[i];
    return code;
}

bool hasSolution(const Row& row, signed char* known) {
    signed char& answer = known[codeOf(row)];
    if (answer >= 0) return answer == 1;
    bool found = isGoalRow(row);
    for (int i = 0; i < kRowLength && !found; ++i) {
        for (int j = 0; j < kCounterMoveCount && !found; ++j) {
            const CounterMove& m = kCounterMoves[j];
            const int d = i + m.offset;
            if (row[i] != m.colour || d < 0 || d >= kRowLength || row[d] != m.destContent) {
                continue;
            }
            Row next = row;
            applyMove(next, i, j);
            found = hasSolution(next, known);
        }
    }
    answer = found ? 1 : 0;
    return found;
}

// Every way to put the missing counters into the empty cells.
void addCompletions(Row row, int cell, int whites, int blacks, std::vector<Row>& out) {
    if (whites == 0 && blacks == 0) {
        out.push_back(row);
        return;
    }
    while (cell < kRowLength && row[cell] != kEmptyCell) ++cell;
    if (cell >= kRowLength) return;
    const int emptyAfter = [&] {
        int n = 0;
        for (int i = cell + 1; i < kRowLength; ++i) n += row[i] == kEmptyCell;
        return n;
    }();
    if (emptyAfter >= whites + blacks) addCompletions(row, cell + 1, whites, blacks, out);
    if (whites > 0) {
        row[cell] = kWhiteCounter;
        addCompletions(row, cell + 1, whites - 1, blacks, out);
    }
    if (blacks > 0) {
        row[cell] = kBlackCounter;
        addCompletions(row, cell + 1, whites, blacks - 1, out);
    }
}

}  // namespace

void placeRestAtRandom(Row& row, std::mt19937& random) {
    if (GameState != Placing) return;
    std::vector<Row> all;
    addCompletions(row, 0, kCountersPerColour - whiteCount, kCountersPerColour - blackCount, all);
    if (all.empty()) return;

    signed char known[kRowCodes];
    for (signed char& k : known) k = -1;
    std::vector<Row> solvable;
    for (const Row& r : all) {
        if (hasSolution(r, known)) solvable.push_back(r);
    }
    const std::vector<Row>& pool = solvable.empty() ? all : solvable;
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    row = pool[pick(random)];
    // Zeroed as the sixth counter zeroes them, for the next game.
    whiteCount = 0;
    blackCount = 0;
    GameState = Solving;
}
