#include "counters/random_fill.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <random>
#include <string>

#include "counters/row_text.h"
#include "counters/search.h"

namespace {

// The search the game runs decides which rows have a solution.
bool solvable(const Row& row) {
    bestDepth = INT_MAX;
    searchDepth = 0;
    solutionStack.top = 0;
    return solveRow(&row);
}

// The chi-square statistic's bound that a fair draw exceeds once in a
// thousand (Wilson and Hilferty's approximation).
double chiSquareBound(int degrees) {
    const double k = degrees;
    return k * std::pow(1.0 - 2.0 / (9.0 * k) + 3.09 * std::sqrt(2.0 / (9.0 * k)), 3.0);
}

class CountersRandomFill : public ::testing::Test {
protected:
    void TearDown() override {
        GameState = Idle;
        whiteCount = 0;
        blackCount = 0;
        bestDepth = INT_MAX;
    }
    Row placed(const std::string& text) {
        Row row = rowFrom(text);
        whiteCount = int(std::count(text.begin(), text.end(), 'W'));
        blackCount = int(std::count(text.begin(), text.end(), 'B'));
        GameState = Placing;
        return row;
    }
    // Draws `draws` rows from `start`, checking each, and counts them.
    std::map<std::string, int> draw(const std::string& start, int draws, std::mt19937& random) {
        std::map<std::string, int> counts;
        for (int n = 0; n < draws; ++n) {
            Row row = placed(start);
            placeRestAtRandom(row, random);
            EXPECT_EQ(GameState, Solving);
            EXPECT_EQ(whiteCount, 0);
            EXPECT_EQ(blackCount, 0);
            const std::string text = textOf(row);
            for (int i = 0; i < kRowLength; ++i) {
                if (start[i] != '-') {
                    EXPECT_EQ(text[i], start[i]) << start << " -> " << text;
                }
            }
            EXPECT_EQ(std::count(text.begin(), text.end(), 'W'), 3) << text;
            EXPECT_EQ(std::count(text.begin(), text.end(), 'B'), 3) << text;
            ++counts[text];
        }
        return counts;
    }
};

double chiSquare(const std::map<std::string, int>& counts, int kinds, int draws) {
    const double expected = double(draws) / kinds;
    double statistic = (kinds - int(counts.size())) * expected;
    for (const auto& entry : counts) {
        statistic += (entry.second - expected) * (entry.second - expected) / expected;
    }
    return statistic;
}

TEST_F(CountersRandomFill, FromAnEmptyRowDrawsEveryRowWithASolutionEquallyOften) {
    int kinds = 0;
    for (const std::string& text : allPlacements()) kinds += solvable(rowFrom(text));
    ASSERT_LT(kinds, 140);  // some rows cannot be solved: they must never come

    std::mt19937 random(7);
    const int draws = 50 * kinds;
    const std::map<std::string, int> counts = draw("-------", draws, random);
    for (const auto& entry : counts) EXPECT_TRUE(solvable(rowFrom(entry.first))) << entry.first;
    EXPECT_EQ(int(counts.size()), kinds);
    EXPECT_LT(chiSquare(counts, kinds, draws), chiSquareBound(kinds - 1));
}

TEST_F(CountersRandomFill, KeepsThePlacedCountersAndPrefersRowsWithASolution) {
    std::mt19937 random(8);
    // Each of these has completions with and without a solution.
    for (const std::string start : {"B--W-B-", "BBB----"}) {
        const std::map<std::string, int> counts = draw(start, 300, random);
        for (const auto& entry : counts) {
            EXPECT_TRUE(solvable(rowFrom(entry.first))) << start << " -> " << entry.first;
        }
    }
}

// Where no completion has a solution, every completion is equally likely.
TEST_F(CountersRandomFill, WithoutAnyRowWithASolutionDrawsAmongAll) {
    std::mt19937 random(9);
    const std::map<std::string, int> counts = draw("--BBBWW", 2000, random);
    ASSERT_EQ(counts.size(), 2u);
    for (const auto& entry : counts) EXPECT_FALSE(solvable(rowFrom(entry.first)));
    EXPECT_LT(chiSquare(counts, 2, 2000), chiSquareBound(1));
}

TEST_F(CountersRandomFill, DoesNothingOutsidePlacing) {
    std::mt19937 random(10);
    Row row = placed("WB-----");
    GameState = Solving;
    placeRestAtRandom(row, random);
    EXPECT_EQ(textOf(row), "WB-----");
    EXPECT_EQ(whiteCount, 1);
}

}  // namespace
