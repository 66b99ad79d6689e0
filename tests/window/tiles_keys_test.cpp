// tiles played from the keyboard alone, and presses that come faster than
// the program polls.

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tiles_driver.h"

namespace {

// The cursor's ring runs 3 pixels wide inside the cell's white; its left
// side is the column x = 226 + 65 col.
bool ringAt(const Shot& shot, int col, int row) {
    const int x = 226 + 65 * col, y = 140 + 65 * row;
    return shot.allOf(x, y - 20, x + 2, y + 20, kBlackRgb) && shot.at(x + 3, y) == kWhiteRgb;
}

// Exactly one ring, at (col, row); -1 for none anywhere.
bool onlyRing(const Shot& shot, int col, int row) {
    for (int i = 0; i < 16; ++i) {
        const bool wanted = i % 4 == col && i / 4 == row;
        if (ringAt(shot, i % 4, i / 4) != wanted) return false;
    }
    return true;
}

// The arrow keys that take the cursor from one cell to another.
std::string arrowsTo(int& col, int& row, int toCol, int toRow) {
    std::string keys;
    for (; col < toCol; ++col) keys += " Right";
    for (; col > toCol; --col) keys += " Left";
    for (; row < toRow; ++row) keys += " Down";
    for (; row > toRow; --row) keys += " Up";
    return keys;
}

TEST_F(TilesWindow, KeyboardAlonePlaysAWholeGame) {
    // The menu's focus starts on "Uus mäng".
    app.key("Return");
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(1)));
    EXPECT_TRUE(app.waitUntil([](const Shot& s) { return onlyRing(s, -1, -1); }, 1))
        << "no cursor before a key is used";

    // The cursor starts top left and stops at the edges.
    app.keys("Left Up");
    EXPECT_TRUE(app.waitUntil([](const Shot& s) { return onlyRing(s, 0, 0); }, 3));

    // A press after a pause moves one cell, and still one when the program
    // has waited as long again, as in the browser.
    const auto pause = std::chrono::milliseconds(1500);
    std::this_thread::sleep_for(pause);
    app.key("Right");
    std::this_thread::sleep_for(pause);
    EXPECT_TRUE(app.waitUntil([](const Shot& s) { return onlyRing(s, 1, 0); }, 3))
        << "one Right after a pause of 1.5 s moved the cursor other than one cell";

    // 1 to 14 in one go, Return and space by turns; every key counts once.
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12};
    int col = 1, row = 0;
    std::string keys;
    for (int n = 1; n <= 14; ++n) {
        int i = 0;
        while (start[i] != n) ++i;
        keys += arrowsTo(col, row, i % 4, i / 4) + (n % 2 ? " Return" : " space");
    }
    app.keys(keys);
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(15)));
    EXPECT_TRUE(app.waitUntil([&](const Shot& s) { return onlyRing(s, col, row); }, 3));

    // A taken cell takes nothing; then 15 in its cell ends placing. Keys
    // typed while it solves are none on the menu, nor in the next game.
    keys = arrowsTo(col, row, 0, 0) + " Return";
    keys += arrowsTo(col, row, 2, 3) + " Return Return space Return";
    app.keys(keys);
    ASSERT_NO_FATAL_FAILURE(waitStatus("Lahendatud!.", 20));
    Shot shot;
    ASSERT_TRUE(app.waitUntil(
        [](const Shot& s) { return menuDrawn(s) && boardShows(s, kSolvedLayout); }, 3, &shot))
        << "the solved board, with no cursor, as a mouse game leaves it";
    app.key("Down");  // moves the menu's focus; nothing else
    ASSERT_FALSE(app.waitUntil([](const Shot& s) { return !statusShows(s, "Lahendatud!."); }, 0.5))
        << "a key typed during the solve chose on the menu";
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_FALSE(app.waitUntil([](const Shot& s) { return !boardShows(s, kUnplacedLayout); }, 0.5))
        << "a key typed before the game placed in it";
}

TEST_F(TilesWindow, PressesFasterThanThePollsAllPlace) {
    // A tap on "Uus mäng" and, 30 ms later, one on the board.
    app.taps({{kNewGameX, kNewGameY}, {cellX(0), cellY(0)}}, 30);
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(2)));
    EXPECT_TRUE(cellSoon(0, 0, 1));

    // Six pairs of taps, the two of a pair a few milliseconds apart.
    Layout expected = kUnplacedLayout;
    expected[0] = 1;
    std::vector<std::pair<int, int>> pairs;
    for (int i = 1; i <= 12; ++i) {
        pairs.push_back({cellX(i % 4), cellY(i / 4)});
        expected[i] = i + 1;
        if (i % 2 == 0) {
            app.taps(pairs);
            pairs.clear();
            ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(i + 2)));
        }
    }
    EXPECT_TRUE(boardSoon(expected));
}

}  // namespace
