// counters played from the keyboard alone.

#include <algorithm>
#include <string>

#include "counters_driver.h"

namespace counters_window {
namespace {

// The cursor's frame runs 2 pixels wide just inside the cell, left of its
// counter: its left side is the columns cellLeft(k) + 1 and + 2.
bool frameAt(const Shot& shot, int k) {
    return shot.allOf(cellLeft(k) + 1, kCellTop + 10, cellLeft(k) + 2, kCellBottom - 10,
                      kBlackRgb) &&
           shot.at(cellLeft(k) + 3, kRowY) == kWhiteRgb;
}

bool onlyFrame(const Shot& shot, int k) {
    for (int i = 0; i < kCells; ++i)
        if (frameAt(shot, i) != (i == k)) return false;
    return true;
}

TEST_F(CountersWindow, KeyboardAlonePlaysAWholeGame) {
    app.key("Return");
    ASSERT_NO_FATAL_FAILURE(waitStatus(kPlacingText));
    EXPECT_TRUE(rowSoon("-------")) << "no cursor before a key is used";

    // V places white where the cursor starts, the leftmost cell.
    app.keys("Left v");
    EXPECT_TRUE(app.waitUntil([](const Shot& s) { return onlyFrame(s, 0); }, 3));

    // Enter is white too, space and M black; a fourth white is refused and
    // the cursor stops at the right end.
    app.keys("Right Return Right v Right Return Right space Right m Right Right Right space");
    ASSERT_NO_FATAL_FAILURE(waitStatus(kSolvedText, 10));
    EXPECT_TRUE(rowSoon("WWW-BBB")) << "the row, with no cursor, as a mouse game leaves it";
    quit();
}

// J places the counters still missing, keeping those placed, in a row that
// has a solution; the game goes on as if they were placed by hand. The hint
// line offers J only while placing.
TEST_F(CountersWindow, RandomRestKeepsThePlacedCountersAndTheGameGoesOn) {
    const std::string hint = "J - juhuslik seis";
    ASSERT_TRUE(hintShows(app.grab(), ""));
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_TRUE(app.waitUntil([&](const Shot& s) { return hintShows(s, hint); }, 3));
    ASSERT_NO_FATAL_FAILURE(place("WW---BB"));
    ASSERT_TRUE(rowSoon("WW---BB"));
    app.key("j");
    // The row drawn as placing ends stays at least a move's pause, unless it
    // is a goal already: then "Lahendatud!." follows at once, over it.
    std::string row;
    ASSERT_TRUE(app.waitUntil(
        [&](const Shot& s) {
            row = readRow(s);
            return (statusShows(s, kSolvingText) || statusShows(s, kSolvedText)) &&
                   row.find('?') == std::string::npos;
        },
        5))
        << "J did not end placing; the row shows " << row;
    EXPECT_EQ(row.substr(0, 2), "WW");
    EXPECT_EQ(row.substr(5), "BB");
    std::string rest = row.substr(2, 3);
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, "-BW") << row;
    EXPECT_TRUE(hintShows(app.grab(), ""));
    ASSERT_NO_FATAL_FAILURE(waitStatus(kSolvedText, 20));
    EXPECT_TRUE(app.waitUntil([](const Shot& s) { return menuDrawn(s); }, 3));
    EXPECT_TRUE(hintShows(app.grab(), "")) << "counters offers nothing at the menu";
    quit();
}

}  // namespace
}  // namespace counters_window
