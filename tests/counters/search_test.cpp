// The search checked against a breadth-first search written here, over
// every placement, and against the positions whose answers are known.

#include "counters/search.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "counters/playback.h"
#include "row_text.h"
#include "view_log.h"

namespace {

// (source cell, table index): the order in which solutions are compared.
using Move = std::pair<int, int>;

// Legal moves and their results, in (cell, index) order, derived from the
// rules rather than from kCounterMoves: indexes 0..2 are black steps of
// 1..3 to the right, 3..5 white steps of 1..3 to the left.
std::vector<std::pair<Move, std::string>> successors(const std::string& row) {
    std::vector<std::pair<Move, std::string>> out;
    for (int i = 0; i < kRowLength; ++i) {
        for (int step = 1; step <= 3; ++step) {
            const bool black = row[i] == 'B';
            if (!black && row[i] != 'W') continue;
            const int d = black ? i + step : i - step;
            if (d < 0 || d >= kRowLength || row[d] != '-') continue;
            std::string next = row;
            std::swap(next[i], next[d]);
            out.push_back({{i, black ? step - 1 : step + 2}, next});
        }
    }
    return out;
}

bool whitesLeftOfBlacks(const std::string& row) {
    return row.find_last_of('W') < row.find_first_of('B');
}

// Moves to the nearest goal, -1 when none can be reached.
int distanceToGoal(const std::string& start) {
    std::map<std::string, int> dist{{start, 0}};
    std::deque<std::string> queue{start};
    while (!queue.empty()) {
        std::string row = queue.front();
        queue.pop_front();
        if (whitesLeftOfBlacks(row)) return dist[row];
        for (const auto& [move, next] : successors(row)) {
            if (dist.emplace(next, dist[row] + 1).second) queue.push_back(next);
        }
    }
    return -1;
}

// The smallest shortest solution: at each step the smallest move that keeps
// the remaining distance one shorter.
std::vector<Move> smallestShortest(std::string row) {
    std::vector<Move> moves;
    for (int left = distanceToGoal(row); left > 0; --left) {
        for (const auto& [move, next] : successors(row)) {
            if (distanceToGoal(next) == left - 1) {
                moves.push_back(move);
                row = next;
                break;
            }
        }
    }
    return moves;
}

// An exhaustive search with no pruning visits every move sequence that does
// not run through a goal.
unsigned long exhaustiveCalls(const std::string& row) {
    unsigned long calls = 1;
    if (whitesLeftOfBlacks(row)) return calls;
    for (const auto& [move, next] : successors(row)) calls += exhaustiveCalls(next);
    return calls;
}

void resetSearch() {
    bestDepth = INT_MAX;
    searchDepth = 0;
    solutionStack.top = 0;
    searchSolutionCalls = 0;
}

std::vector<Move> stackedMoves() {
    std::vector<Move> moves;
    for (int e = solutionStack.top - 1; e >= 0; --e) {
        moves.push_back({solutionStack.cell[e], solutionStack.move[e]});
    }
    return moves;
}

TEST(CounterSearch, AgreesWithBreadthFirstSearchOnEveryPlacement) {
    std::set<std::string> unsolvable, nineMoves;
    for (const std::string& text : allPlacements()) {
        SCOPED_TRACE(text);
        resetSearch();
        const Row start = rowFrom(text);
        const bool found = solveRow(&start);
        const int shortest = distanceToGoal(text);

        EXPECT_EQ(searchDepth, 0);
        EXPECT_EQ(searchSolutionCalls, exhaustiveCalls(text));
        if (shortest < 0) {
            unsolvable.insert(text);
            EXPECT_FALSE(found);
            EXPECT_EQ(bestDepth, INT_MAX);
            EXPECT_EQ(solutionStack.top, 0);
            continue;
        }
        if (shortest == 9) nineMoves.insert(text);
        EXPECT_TRUE(found);
        EXPECT_EQ(bestDepth, shortest);
        ASSERT_EQ(solutionStack.top, shortest);
        EXPECT_EQ(stackedMoves(), smallestShortest(text));

        Row played = start;
        for (const Move& m : stackedMoves()) applyMove(played, m.first, m.second);
        EXPECT_TRUE(whitesLeftOfBlacks(textOf(played))) << textOf(played);
    }
    EXPECT_EQ(unsolvable.size(), 13u);
    EXPECT_EQ(nineMoves, (std::set<std::string>{"BBB-WWW", "BB-BWWW", "BBBW-WW"}));
}

TEST(CounterSearch, GoalTestMeansEveryWhiteLeftOfEveryBlack) {
    for (const std::string& text : allPlacements()) {
        EXPECT_EQ(isGoalRow(rowFrom(text)), whitesLeftOfBlacks(text)) << text;
    }
}

struct KnownGame {
    const char* start;
    bool solvable;
    std::vector<std::string> shown;  // the row after each played move
};

const KnownGame kKnownGames[] = {
    {"BBB-WWW",
     true,
     {"B-BBWWW", "BWBB-WW", "BW-BBWW", "BWWBB-W", "BWWBBW-", "BWW-BWB", "-WWBBWB", "WW-BBWB",
      "WWWBB-B"}},
    // Two two-move solutions; the one starting with the lower cell is played.
    {"WBW-WBB", true, {"W-WBWBB", "WWWB-BB"}},
    {"WWBW-BB", true, {"WW-WBBB"}},
    {"-WWWBBB", true, {}},
    {"W-WWBBB", true, {}},
    {"WW-WBBB", true, {}},
    {"WWW-BBB", true, {}},
    {"WWWB-BB", true, {}},
    {"WWWBB-B", true, {}},
    {"WWWBBB-", true, {}},
    {"-BBBWWW", false, {}},
    {"-WBBBWW", false, {}},
    {"-WWBBBW", false, {}},
    {"BBBWWW-", false, {}},
    {"BBWWW-B", false, {}},
    {"BBWWWB-", false, {}},
    {"BWW-BBW", false, {}},
    {"BWWW-BB", false, {}},
    {"BWWWB-B", false, {}},
    {"BWWWBB-", false, {}},
    {"W-BBBWW", false, {}},
    {"W-WBBBW", false, {}},
    {"WW-BBBW", false, {}},
};

TEST(CounterPlayback, KnownGamesShowEachMoveAfterAPause) {
    for (const KnownGame& game : kKnownGames) {
        SCOPED_TRACE(game.start);
        resetSearch();
        viewLog.clear();
        Row row = rowFrom(game.start);
        EXPECT_EQ(solveRow(&row), game.solvable);
        EXPECT_EQ(bestDepth, game.solvable ? int(game.shown.size()) : INT_MAX);
        playSolution(row);

        std::vector<std::string> expected;
        for (const std::string& shown : game.shown) {
            expected.push_back("pause 1500");
            expected.push_back("draw " + shown);
        }
        EXPECT_EQ(viewLog.events, expected);
        EXPECT_EQ(solutionStack.top, 0);
        EXPECT_EQ(textOf(row), game.shown.empty() ? game.start : game.shown.back());
    }
}

TEST(CounterPlayback, WbwWbbPlaysTheBlackMoveFirst) {
    resetSearch();
    const Row row = rowFrom("WBW-WBB");
    ASSERT_TRUE(solveRow(&row));
    EXPECT_EQ(stackedMoves(), (std::vector<Move>{{1, 1}, {4, 5}}));
}

}  // namespace
