#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>

#include "tiles/board.h"
#include "tiles/position_text.h"

namespace {

const char* const kSolvedText = "1 2 3 4/5 6 7 8/9 10 11 12/13 14 15 _";

class PathSearch : public ::testing::Test {
protected:
    void SetUp() override { GameState = Solving; }
    void TearDown() override { GameState = Idle; }

    void lock(std::initializer_list<CellPos> list) {
        for (CellPos p : list) board.locked[cellIndex(p.col, p.row)] = 1;
    }
    bool isLocked(int col, int row) const { return board.locked[cellIndex(col, row)] != 0; }
    int lockCount() const {
        int n = 0;
        for (std::uint8_t l : board.locked) n += l;
        return n;
    }

    Board board = boardFrom(kSolvedText);
};

// Breadth-first distance over open cells; the start may itself be locked.
// The search leaves every mark as it found it but the start's, which it
// writes back as 0 like any cell it has left.
int referenceDistance(const std::uint8_t* locked, int col, int row, int goalCol, int goalRow) {
    int dist[kCellCount];
    for (int& d : dist) d = -1;
    int queue[kCellCount];
    int head = 0;
    int tail = 0;
    dist[cellIndex(col, row)] = 0;
    queue[tail++] = cellIndex(col, row);
    while (head < tail) {
        int at = queue[head++];
        int c = at / kBoardSide;
        int r = at % kBoardSide;
        if (c == goalCol && r == goalRow) return dist[at];
        const int dc[4] = {-1, 1, 0, 0};
        const int dr[4] = {0, 0, -1, 1};
        for (int k = 0; k < 4; ++k) {
            int nc = c + dc[k];
            int nr = r + dr[k];
            if (nc < 0 || nc > 3 || nr < 0 || nr > 3) continue;
            int n = cellIndex(nc, nr);
            if (locked[n] || dist[n] >= 0) continue;
            dist[n] = dist[at] + 1;
            queue[tail++] = n;
        }
    }
    return kPathCap + 1;
}

TEST_F(PathSearch, RouteLengthsOfKnownLayouts) {
    struct Case {
        std::initializer_list<CellPos> locks;
        CellPos from, to;
        int length;
    };
    const Case cases[] = {
        {{}, {0, 0}, {3, 3}, 6},
        {{}, {2, 1}, {2, 1}, 0},
        {{{2, 1}}, {2, 1}, {2, 1}, 0},                  // own cell locked: still 0
        {{{3, 3}}, {0, 0}, {3, 3}, 101},                // locked goal
        {{{0, 0}}, {0, 0}, {1, 0}, 1},                  // a locked start is left, and freed
        {{{1, 0}, {1, 1}, {1, 2}}, {0, 0}, {2, 0}, 8},  // round the wall's end
        {{{1, 0}, {1, 1}, {1, 2}, {1, 3}}, {0, 0}, {2, 0}, 101},
        {{{0, 1}, {1, 0}}, {0, 0}, {3, 3}, 101},  // start fenced in
    };
    for (const Case& c : cases) {
        board.reset();
        lock(c.locks);
        std::uint8_t expected[kCellCount];
        std::memcpy(expected, board.locked, sizeof expected);
        bool atGoal = c.from.col == c.to.col && c.from.row == c.to.row;
        if (!atGoal) expected[cellIndex(c.from.col, c.from.row)] = 0;
        EXPECT_EQ(board.pathLength(c.from.col, c.from.row, c.to.col, c.to.row), c.length)
            << "from " << c.from.col << "," << c.from.row << " to " << c.to.col << "," << c.to.row;
        EXPECT_EQ(std::memcmp(expected, board.locked, sizeof expected), 0) << "marks not restored";
    }
}

TEST_F(PathSearch, RouteLengthIsTheBreadthFirstDistanceOverOpenCells) {
    std::mt19937 rng(99);
    std::bernoulli_distribution locks(0.3);
    std::uniform_int_distribution<int> coord(0, 3);
    for (int n = 0; n < 3000; ++n) {
        for (std::uint8_t& l : board.locked) l = locks(rng);
        std::uint8_t marks[kCellCount];
        std::memcpy(marks, board.locked, sizeof marks);
        int c = coord(rng), r = coord(rng), gc = coord(rng), gr = coord(rng);
        bool atGoal = c == gc && r == gr;
        int expected = atGoal ? 0 : referenceDistance(marks, c, r, gc, gr);
        if (!atGoal) marks[cellIndex(c, r)] = 0;
        ASSERT_EQ(board.pathLength(c, r, gc, gr), expected) << "pattern " << n;
        ASSERT_EQ(std::memcmp(marks, board.locked, sizeof marks), 0) << "pattern " << n;
    }
}

TEST_F(PathSearch, DirectionPrefersTheEarlierOfEqualRoutes) {
    struct Case {
        std::initializer_list<CellPos> locks;
        CellPos piece, goal;
        int direction;
    };
    const Case cases[] = {
        {{}, {1, 1}, {0, 0}, kLeft},   // left and up both cost 1
        {{}, {1, 1}, {3, 3}, kRight},  // right and down both cost 3
        {{}, {1, 1}, {1, 3}, kDown},
        {{}, {1, 1}, {1, 0}, kUp},
        {{}, {1, 1}, {1, 1}, kAtTarget},
        {{{0, 1}}, {1, 1}, {0, 0}, kUp},
        {{{1, 0}}, {0, 0}, {3, 0}, kDown},
        {{{0, 1}, {1, 0}, {2, 1}, {1, 2}}, {1, 1}, {3, 3}, kNoRoute},
        {{{1, 0}, {0, 1}}, {0, 0}, {3, 3}, kNoRoute},
        // The one open neighbour, (1,3), is a dead end.
        {{{0, 2}, {2, 2}, {1, 1}, {0, 3}, {2, 3}}, {1, 2}, {0, 0}, kNoRoute},
    };
    for (const Case& c : cases) {
        board.reset();
        lock(c.locks);
        EXPECT_EQ(board.chooseDirection(c.piece.col, c.piece.row, c.goal.col, c.goal.row),
                  c.direction)
            << "piece " << c.piece.col << "," << c.piece.row;
        EXPECT_EQ(lockCount(), int(c.locks.size())) << "marks not restored";
    }
}

TEST_F(PathSearch, PlanningForAPieceUnlocksItsOwnCell) {
    lock({{2, 2}, {1, 2}, {3, 2}, {2, 1}, {2, 3}});
    EXPECT_EQ(board.chooseDirection(2, 2, 0, 0), kNoRoute);
    EXPECT_FALSE(isLocked(2, 2));
    EXPECT_EQ(lockCount(), 4);
    // Standing on the goal touches no mark at all.
    lock({{2, 2}});
    EXPECT_EQ(board.chooseDirection(2, 2, 2, 2), kAtTarget);
    EXPECT_TRUE(isLocked(2, 2));
}

TEST_F(PathSearch, DirectionMatchesAReferenceOverRandomLocks) {
    std::mt19937 rng(5);
    std::bernoulli_distribution locks(0.25);
    std::uniform_int_distribution<int> coord(0, 3);
    const int dc[5] = {0, -1, 1, 0, 0};
    const int dr[5] = {0, 0, 0, -1, 1};
    for (int n = 0; n < 3000; ++n) {
        for (std::uint8_t& l : board.locked) l = locks(rng);
        int c = coord(rng), r = coord(rng), gc = coord(rng), gr = coord(rng);
        std::uint8_t marks[kCellCount];
        std::memcpy(marks, board.locked, sizeof marks);
        marks[cellIndex(c, r)] = 1;
        int expected = kNoRoute;
        int best = kPathCap;
        if (c == gc && r == gr) {
            expected = kAtTarget;
        } else {
            for (int k = kLeft; k <= kDown; ++k) {
                int nc = c + dc[k], nr = r + dr[k];
                if (nc < 0 || nc > 3 || nr < 0 || nr > 3 || marks[cellIndex(nc, nr)]) continue;
                int cost = referenceDistance(marks, nc, nr, gc, gr);
                if (cost < best) {
                    best = cost;
                    expected = k;
                }
            }
            marks[cellIndex(c, r)] = 0;
        }
        if (expected == kAtTarget) marks[cellIndex(c, r)] = board.locked[cellIndex(c, r)];
        ASSERT_EQ(board.chooseDirection(c, r, gc, gr), expected) << "pattern " << n;
        ASSERT_EQ(std::memcmp(marks, board.locked, sizeof marks), 0) << "pattern " << n;
    }
}

TEST_F(PathSearch, FindValueScansColumnByColumn) {
    board = boardFrom("5 1 2 3/_ 6 7 4/9 10 11 8/13 14 15 12");
    const struct {
        int value;
        CellPos at;
    } cases[] = {{0, {0, 1}}, {5, {0, 0}}, {4, {3, 1}}, {12, {3, 3}}, {13, {0, 3}}};
    for (const auto& c : cases) {
        CellPos p = board.findValue(c.value);
        EXPECT_EQ(p.col, c.at.col) << c.value;
        EXPECT_EQ(p.row, c.at.row) << c.value;
    }
}

// --- single moves -------------------------------------------------------

TEST_F(PathSearch, TileOnItsGoalIsLockedAndStays) {
    EXPECT_EQ(board.stepTileToward(6, 1, 1), 0);
    EXPECT_TRUE(isLocked(1, 1));
    EXPECT_EQ(board.stepTileToward(6, 1, 1), 0);
    EXPECT_EQ(textOf(board), kSolvedText);
    EXPECT_EQ(lockCount(), 1);
    EXPECT_EQ(GameState, Solving);
}

TEST_F(PathSearch, TileSlidesIntoTheBlankAndNeitherCellIsLocked) {
    board = boardFrom("1 2 3 4/5 6 7 8/9 10 11 _/13 14 15 12");
    EXPECT_EQ(board.stepTileToward(12, 3, 2), 1);
    EXPECT_EQ(textOf(board), kSolvedText);
    EXPECT_EQ(lockCount(), 0);
}

TEST_F(PathSearch, PlacedTileLeavesItsLockedCellWhenPlannedAgain) {
    board = boardFrom("1 2 _ 3/5 6 7 4/9 10 11 8/13 14 15 12");
    lock({{3, 0}});
    EXPECT_EQ(board.stepTileToward(3, 2, 0), 1);
    EXPECT_EQ(textOf(board), "1 2 3 _/5 6 7 4/9 10 11 8/13 14 15 12");
    EXPECT_EQ(lockCount(), 0);
}

TEST_F(PathSearch, OccupiedNextCellBringsTheBlankOneCellCloser) {
    // 3 on (2,0) heads left for (1,0), which holds 2. The blank on (3,3) has
    // two equally short ways round the locked 3 and takes the left one.
    board = boardFrom("5 2 3 4/1 6 7 8/9 10 11 12/13 14 15 _");
    EXPECT_EQ(board.stepTileToward(3, 1, 0), 1);
    EXPECT_EQ(board.findValue(3).col, 2);
    EXPECT_EQ(board.findValue(3).row, 0);
    EXPECT_TRUE(isLocked(2, 0));
    EXPECT_EQ(lockCount(), 1);
    EXPECT_EQ(textOf(board), "5 2 3 4/1 6 7 8/9 10 11 12/13 14 _ 15");
    EXPECT_EQ(GameState, Solving);
}

TEST_F(PathSearch, RepeatedCallsWalkTheBlankRoundThenMoveTheTile) {
    board = boardFrom("5 2 3 4/1 6 7 8/9 10 11 12/13 14 15 _");
    // Blank from (3,3) to (1,0) round the locked 3 on (2,0): five steps, then
    // the tile moves on the sixth call.
    for (int call = 0; call < 5; ++call) {
        ASSERT_EQ(board.stepTileToward(3, 1, 0), 1);
        ASSERT_EQ(board.cells[cellIndex(2, 0)], 3) << "call " << call;
    }
    EXPECT_EQ(board.cells[cellIndex(1, 0)], kBlank);
    EXPECT_EQ(board.stepTileToward(3, 1, 0), 1);
    EXPECT_EQ(board.cells[cellIndex(1, 0)], 3);
    EXPECT_EQ(board.stepTileToward(3, 1, 0), 0);
    EXPECT_EQ(GameState, Solving);
}

TEST_F(PathSearch, BlankAskedToGoWhereItStandsGivesUp) {
    board.stepBlankToward(3, 3);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), kSolvedText);
}

TEST_F(PathSearch, BlankStepsTowardItsGoal) {
    board.stepBlankToward(0, 0);
    EXPECT_EQ(textOf(board), "1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ 15");
    lock({{1, 3}, {2, 2}, {3, 3}});
    board.stepBlankToward(0, 0);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), "1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ 15");
}

TEST_F(PathSearch, BlankShutInBesideItsParkedNeighbourGivesUp) {
    board = boardFrom("1 2 _ 3/5 6 4 7/9 10 11 8/13 14 15 12");
    lock({{1, 0}, {3, 0}});
    EXPECT_EQ(board.stepTileToward(4, 3, 1), 1);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), "1 2 _ 3/5 6 4 7/9 10 11 8/13 14 15 12");
    EXPECT_TRUE(isLocked(2, 1));
}

TEST_F(PathSearch, FencedInTileGivesUpWithoutMoving) {
    board = boardFrom("1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ 15");
    lock({{0, 1}, {1, 0}});
    EXPECT_EQ(board.stepTileToward(1, 3, 3), 1);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), "1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ 15");
}

TEST_F(PathSearch, MissingPiecesGiveUpInsteadOfWritingOffTheBoard) {
    board = boardFrom("1 2 3 4/5 6 7 8/9 10 11 12/13 14 15 15");  // no blank
    EXPECT_EQ(board.findValue(kBlank).col, -1);
    EXPECT_EQ(board.stepTileToward(1, 3, 3), 1);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), "1 2 3 4/5 6 7 8/9 10 11 12/13 14 15 15");

    GameState = Solving;
    board = boardFrom("1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ _");  // no 15
    EXPECT_EQ(board.stepTileToward(15, 2, 3), 1);
    EXPECT_EQ(GameState, GaveUp);
    EXPECT_EQ(textOf(board), "1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ _");
}

}  // namespace
