#include "tiles/random_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tiles/position_text.h"
#include "tiles/shortest.h"

namespace {

// The chi-square statistic's bound that a fair draw exceeds once in a
// thousand (Wilson and Hilferty's approximation).
double chiSquareBound(int degrees) {
    const double k = degrees;
    const double z = 3.09;
    return k * std::pow(1.0 - 2.0 / (9.0 * k) + z * std::sqrt(2.0 / (9.0 * k)), 3.0);
}

double chiSquare(const std::map<std::string, int>& counts, int kinds, int draws) {
    const double expected = double(draws) / kinds;
    double statistic = 0;
    for (const auto& entry : counts) {
        statistic += (entry.second - expected) * (entry.second - expected) / expected;
    }
    // Kinds never drawn count too.
    statistic += (kinds - int(counts.size())) * expected;
    return statistic;
}

class RandomFill : public ::testing::Test {
protected:
    void TearDown() override {
        GameState = Idle;
        nextTile = 1;
    }
    // The board after placing 1..placed, in the cells given in reading order.
    Board placedIn(const std::vector<int>& cells) {
        Board board{};
        board.reset();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            board.cells[cellIndex(cells[i] % 4, cells[i] / 4)] = int(i) + 1;
        }
        GameState = Placing;
        nextTile = int(cells.size()) + 1;
        return board;
    }
};

TEST_F(RandomFill, KeepsThePlacedNumbersAndEndsPlacingSolvable) {
    std::mt19937 random(11);
    const std::vector<std::vector<int>> starts = {
        {}, {15}, {0, 5, 10, 15, 3}, {3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 13}};
    for (const std::vector<int>& cells : starts) {
        for (int n = 0; n < 200; ++n) {
            Board board = placedIn(cells);
            const Board before = board;
            placeRestAtRandom(board, random);
            ASSERT_EQ(GameState, Solving);
            EXPECT_EQ(nextTile, 1);
            for (int c = 0; c < kCellCount; ++c) {
                if (before.cells[c] != kUnplaced) {
                    ASSERT_EQ(board.cells[c], before.cells[c]);
                }
            }
            ASSERT_TRUE(isSolvablePosition(positionOf(board))) << textOf(board);
        }
    }
}

TEST_F(RandomFill, DoesNothingOutsidePlacing) {
    std::mt19937 random(3);
    Board board = placedIn({0, 1});
    GameState = Solving;
    const Board before = board;
    placeRestAtRandom(board, random);
    EXPECT_TRUE(sameCells(board, before));
    EXPECT_EQ(GameState, Solving);
}

// With 13, 14, 15 and the gap left for four cells, 12 of the 24
// completions can be solved; each must come as often as the others.
TEST_F(RandomFill, DrawsEverySolvableCompletionEquallyOften) {
    std::mt19937 random(2026);
    const int draws = 6000;
    std::map<std::string, int> counts;
    for (int n = 0; n < draws; ++n) {
        Board board = placedIn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        placeRestAtRandom(board, random);
        ++counts[textOf(board)];
    }
    EXPECT_EQ(counts.size(), 12u);
    EXPECT_LT(chiSquare(counts, 12, draws), chiSquareBound(11));
}

// With 15 and the gap left for two cells, the two completions differ by a
// move when the cells touch, so either both can be solved or neither; two
// cells apart, exactly one can.
TEST_F(RandomFill, WithFifteenAndTheGapLeftTakesTheSolvableOrEither) {
    std::mt19937 random(15);
    const std::vector<int> firstRows = {3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8};
    std::vector<int> touching = firstRows;  // cells 12 and 13 left
    touching.insert(touching.end(), {15, 14});
    std::map<std::string, int> counts;
    for (int n = 0; n < 400; ++n) {
        Board board = placedIn(touching);
        placeRestAtRandom(board, random);
        EXPECT_FALSE(isSolvablePosition(positionOf(board)));
        ++counts[textOf(board)];
    }
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_LT(chiSquare(counts, 2, 400), chiSquareBound(1));

    std::vector<int> apart = firstRows;  // cells 12 and 14 left
    apart.insert(apart.end(), {15, 13});
    counts.clear();
    for (int n = 0; n < 50; ++n) {
        Board board = placedIn(apart);
        placeRestAtRandom(board, random);
        ++counts[textOf(board)];
    }
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_TRUE(isSolvablePosition(positionOf(boardFrom(counts.begin()->first))));
}

// From an empty board every solvable position is equally likely, so the gap
// and any one number land in each cell equally often.
TEST_F(RandomFill, FromAnEmptyBoardEveryCellIsEquallyLikelyForEachNumber) {
    std::mt19937 random(1);
    const int draws = 4000;
    for (int number : {0, 1, 15}) {
        std::map<std::string, int> counts;
        for (int n = 0; n < draws; ++n) {
            Board board = placedIn({});
            placeRestAtRandom(board, random);
            const Position p = positionOf(board);
            ++counts[std::to_string(std::find(p.begin(), p.end(), number) - p.begin())];
        }
        EXPECT_LT(chiSquare(counts, 16, draws), chiSquareBound(15)) << number;
    }
}

}  // namespace
