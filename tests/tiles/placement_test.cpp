#include "tiles/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tiles/meaning.h"

namespace {

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        board.reset();
        GameState = Placing;
        nextTile = 1;
    }
    void TearDown() override {
        GameState = Idle;
        nextTile = 1;
    }
    void leftAt(int x, int y) { placeTileAt(board, MousePress{kLeftButton, x, y}); }
    int placedCount() const {
        int n = 0;
        for (int v : board.cells) n += v > 0;
        return n;
    }
    Board board;
};

// Centre of cell (col, row) on screen.
int centreX(int col) { return 250 + 65 * col; }
int centreY(int row) { return 140 + 65 * row; }

TEST_F(Placement, HitBoxesAreStrictlyInsideTheDrawnCell) {
    struct Case {
        int x, y, cell;  // cell -1: nothing placed
    };
    const Case cases[] = {
        {221, 111, cellIndex(0, 0)},  // innermost corner pixels of the hit box
        {279, 169, cellIndex(0, 0)},
        {220, 140, -1},  // left edge of the drawn square
        {280, 140, -1},  // right edge
        {250, 110, -1},  // top edge
        {250, 170, -1},  // bottom edge
        {282, 140, -1},  // gap between columns 0 and 1
        {250, 172, -1},  // gap between rows 0 and 1
        {286, 176, cellIndex(1, 1)},
        {475, 370, -1},  // on the frame
        {100, 100, -1},  // outside the board
        {474, 364, cellIndex(3, 3)},
        {475, 364, -1},
    };
    for (const Case& c : cases) {
        SetUp();
        leftAt(c.x, c.y);
        for (int i = 0; i < kCellCount; ++i) {
            EXPECT_EQ(board.cells[i], i == c.cell ? 1 : kUnplaced)
                << "press at " << c.x << "," << c.y;
        }
        EXPECT_EQ(nextTile, c.cell < 0 ? 1 : 2);
    }
}

TEST_F(Placement, OnlyTheLeftButtonInThePlacingPhasePlaces) {
    placeTileAt(board, MousePress{kRightButton, centreX(0), centreY(0)});
    placeTileAt(board, MousePress{0, centreX(0), centreY(0)});
    EXPECT_EQ(placedCount(), 0);

    for (int state : {Idle, Solving, Unsolvable, Solved, GaveUp}) {
        GameState = state;
        leftAt(centreX(0), centreY(0));
        EXPECT_EQ(placedCount(), 0) << "state " << state;
    }
    GameState = Placing;
    placeTileAt(board, MousePress{kLeftButton | kRightButton, centreX(2), centreY(1)});
    EXPECT_EQ(board.cells[cellIndex(2, 1)], 1);
}

TEST_F(Placement, TakenCellKeepsItsNumberAndTheSameNumberIsAskedFor) {
    leftAt(centreX(1), centreY(2));
    leftAt(centreX(1), centreY(2));
    EXPECT_EQ(board.cells[cellIndex(1, 2)], 1);
    EXPECT_EQ(nextTile, 2);
    EXPECT_EQ(placedCount(), 1);
}

TEST_F(Placement, FifteenthNumberMakesTheBlankAndEndsPlacing) {
    // Reading order, leaving (2,1) for the blank.
    int placed = 0;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (col == 2 && row == 1) continue;
            ASSERT_EQ(GameState, Placing);
            leftAt(centreX(col), centreY(row));
            ++placed;
            EXPECT_EQ(board.cells[cellIndex(col, row)], placed);
        }
    }
    EXPECT_EQ(board.cells[cellIndex(2, 1)], kBlank);
    EXPECT_EQ(GameState, Solving);
    EXPECT_EQ(nextTile, 1);
    // Nothing more is placed once the phase is over.
    leftAt(centreX(2), centreY(1));
    EXPECT_EQ(board.cells[cellIndex(2, 1)], kBlank);
}

TEST_F(Placement, RandomPressesKeepTheBoardConsistentAndPlacingCompletes) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> coord(-200, 900);
    std::uniform_int_distribution<int> buttons(0, 3);
    for (int game = 0; game < 200; ++game) {
        SetUp();
        for (int press = 0; press < 60 && GameState == Placing; ++press) {
            placeTileAt(board, MousePress{buttons(rng), coord(rng), coord(rng)});
            // Numbers 1..nextTile-1 each stand exactly once; the rest unplaced.
            int count[17] = {};
            for (int v : board.cells) {
                ASSERT_GE(v, kUnplaced);
                ASSERT_LE(v, 15);
                if (v > 0) ++count[v];
            }
            for (int t = 1; t <= 15; ++t) ASSERT_EQ(count[t], t < nextTile ? 1 : 0);
        }
        // Clicking every cell, in any order, always ends the phase.
        std::vector<int> order(16);
        for (int i = 0; i < 16; ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        for (int i : order) leftAt(centreX(i / 4), centreY(i % 4));
        ASSERT_EQ(GameState, Solving);
        int blanks = 0;
        for (int v : board.cells) blanks += v == kBlank;
        ASSERT_EQ(blanks, 1);
    }
}

InputEvent tap(int x, int y) { return {InputEvent::Press, kLeftButton, x, y, GameKey::None}; }
InputEvent key(GameKey k) { return {InputEvent::Key, 0, 0, 0, k}; }

TEST_F(Placement, OnePollActsOnEveryEventInOrderUntilPlacingEnds) {
    tilesCursor.reset();
    // Two taps, a release and keys between two polls: each counts once.
    const InputEvent first[] = {
        tap(centreX(3), centreY(0)),
        {InputEvent::Release, kLeftButton, centreX(3), centreY(0), GameKey::None},
        tap(centreX(2), centreY(0)),
        key(GameKey::Down),
        key(GameKey::Space),
        key(GameKey::Right),
        key(GameKey::Enter),
        key(GameKey::Enter),  // on a taken cell: nothing
        key(GameKey::V),      // not a key of this game
    };
    placeTilesFrom(board, first, 9);
    EXPECT_EQ(board.cells[cellIndex(3, 0)], 1);
    EXPECT_EQ(board.cells[cellIndex(2, 0)], 2);
    EXPECT_EQ(board.cells[cellIndex(0, 1)], 3);
    EXPECT_EQ(board.cells[cellIndex(1, 1)], 4);
    EXPECT_EQ(nextTile, 5);

    // The press that places 15 ends the phase; what follows places nothing.
    InputEvent rest[16];
    int n = 0;
    for (int i = 0; i < kCellCount; ++i) rest[n++] = tap(centreX(i / 4), centreY(i % 4));
    placeTilesFrom(board, rest, n);
    EXPECT_EQ(GameState, Solving);
    EXPECT_EQ(board.cells[cellIndex(3, 3)], kBlank) << "the last cell tapped came too late";
}

TEST_F(Placement, MeaningNamesCellsInReadingOrderWithTheStatusLineAsDrawn) {
    tilesCursor.reset();
    leftAt(centreX(1), centreY(0));
    const InputEvent moves[] = {key(GameKey::Down), key(GameKey::Right), key(GameKey::Right)};
    placeTilesFrom(board, moves, 3);
    board.cells[cellIndex(3, 2)] = kBlank;
    ScreenMeaning m = tilesMeaning(board);
    EXPECT_STREQ(m.status, "Paigutage lauale arv 2.");
    EXPECT_STREQ(m.cells[1].name, "Rida 1, veerg 2: 1");
    EXPECT_STREQ(m.cells[11].name, "Rida 3, veerg 4: t\xfchi");
    EXPECT_STREQ(m.cells[4].name, "Rida 2, veerg 1: paigutamata");
    EXPECT_EQ(m.cursor, 6);
    // A press at a cell's point lands on that cell.
    leftAt(m.cells[14].x, m.cells[14].y);
    EXPECT_EQ(board.cells[cellIndex(2, 3)], 2);

    const struct {
        int state, step;
        const char* line;
    } lines[] = {
        {Solving, 0, "Viin numbrit 1 oma kohale."},    {Solving, kStepCount, ""},
        {Unsolvable, 0, "See seis ei ole lahenduv!."}, {Solved, kStepCount, "Lahendatud!."},
        {GaveUp, 17, "Ma enam ei oska :( (samm 17)"},
    };
    for (const auto& l : lines) {
        GameState = l.state;
        stepIndex = l.step;
        m = tilesMeaning(board);
        EXPECT_STREQ(m.status, l.line);
        EXPECT_EQ(m.cursor, -1) << "a cursor only while placing";
    }
    stepIndex = 0;
}

}  // namespace
