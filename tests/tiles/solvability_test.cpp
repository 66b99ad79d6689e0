#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "tiles/board.h"
#include "tiles/position_text.h"

namespace {

struct ParityCase {
    const char* position;
    int parityCount;  // exchanges plus the blank's distance from (3,3)
    bool solvable;
};

const ParityCase kParityCases[] = {
    {"1 2 3 4/5 6 7 8/9 10 11 12/13 14 15 _", 0, true},
    {"1 2 3 4/5 6 7 8/9 10 11 12/13 15 14 _", 1, false},
    {"2 1 3 4/5 6 7 8/9 10 11 12/13 14 15 _", 1, false},
    {"1 2 3 4/5 6 7 8/9 10 11 12/13 14 _ 15", 2, true},
    {"1 2 3 4/5 6 7 8/9 10 11 _/13 14 15 12", 2, true},
    {"_ 1 2 3/4 5 6 7/8 9 10 11/12 13 14 15", 21, false},
    {"15 14 13 12/11 10 9 8/7 6 5 4/3 2 1 _", 7, false},
    {"1 2 3 4/5 6 7 8/9 10 12 _/13 14 15 11", 3, false},
    {"1 2 3 4/5 6 7 8/9 11 _ 12/13 14 15 10", 4, true},
};

TEST(Solvability, KnownPositionsGiveTheirParitySum) {
    for (const ParityCase& c : kParityCases) {
        Board board = boardFrom(c.position);
        EXPECT_EQ(board.isSolvable(), c.solvable) << c.position;
        EXPECT_EQ(board.parityCount, c.parityCount) << c.position;
    }
}

TEST(Solvability, CopiesTheBoardInReadingOrderWithTheBlankAsSixteen) {
    Board board = boardFrom("5 1 2 3/_ 6 7 4/9 10 11 8/13 14 15 12");
    board.isSolvable();
    const int expected[17] = {0, 5, 1, 2, 3, 16, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12};
    for (int p = 1; p <= 16; ++p) EXPECT_EQ(board.perm[p], expected[p]) << "square " << p;
}

TEST(Solvability, TestingTwiceGivesTheSameSum) {
    Board board = boardFrom("1 2 3 4/5 6 7 8/9 10 12 _/13 14 15 11");
    EXPECT_FALSE(board.isSolvable());
    EXPECT_FALSE(board.isSolvable());
    EXPECT_EQ(board.parityCount, 3);
}

Board randomPosition(std::mt19937& rng) {
    int values[kCellCount];
    for (int i = 0; i < kCellCount; ++i) values[i] = i;
    std::shuffle(values, values + kCellCount, rng);
    Board board{};
    board.reset();
    std::copy(values, values + kCellCount, board.cells);
    return board;
}

// Parity by counting inversions in reading order, the blank as 16: nothing in
// common with the cycle walk but the answer.
bool solvableByInversions(const Board& board, int* cycleCount) {
    int seq[kCellCount];
    int blankDistance = 0;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            int v = board.cells[cellIndex(col, row)];
            if (v == kBlank) {
                v = 16;
                blankDistance = (3 - col) + (3 - row);
            }
            seq[row * kBoardSide + col] = v;
        }
    }
    int inversions = 0;
    for (int i = 0; i < kCellCount; ++i) {
        for (int j = i + 1; j < kCellCount; ++j) inversions += seq[i] > seq[j];
    }
    bool seen[kCellCount] = {};
    *cycleCount = 0;
    for (int i = 0; i < kCellCount; ++i) {
        if (seen[i]) continue;
        ++*cycleCount;
        for (int j = i; !seen[j]; j = seq[j] - 1) seen[j] = true;
    }
    *cycleCount = (kCellCount - *cycleCount) + blankDistance;
    return (inversions + blankDistance) % 2 == 0;
}

TEST(Solvability, CycleWalkAgreesWithInversionParity) {
    std::mt19937 rng(20240501);
    int solvable = 0;
    for (int n = 0; n < 20000; ++n) {
        Board board = randomPosition(rng);
        int expectedSum = 0;
        bool expected = solvableByInversions(board, &expectedSum);
        ASSERT_EQ(board.isSolvable(), expected) << textOf(board);
        ASSERT_EQ(board.parityCount, expectedSum) << textOf(board);
        solvable += expected;
    }
    // Half of all positions are solvable; a test that always said one thing
    // would fail above, this only guards the sample itself.
    EXPECT_GT(solvable, 9000);
    EXPECT_LT(solvable, 11000);
}

TEST(Solvability, ExchangingTwoNumbersFlipsTheAnswer) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cell(0, kCellCount - 1);
    for (int n = 0; n < 2000; ++n) {
        Board board = randomPosition(rng);
        bool before = board.isSolvable();
        int a = cell(rng);
        int b = cell(rng);
        while (b == a || board.cells[a] == kBlank || board.cells[b] == kBlank) {
            a = cell(rng);
            b = cell(rng);
        }
        std::swap(board.cells[a], board.cells[b]);
        ASSERT_NE(board.isSolvable(), before) << textOf(board);
    }
}

}  // namespace
