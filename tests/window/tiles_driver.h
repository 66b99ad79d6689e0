#pragma once
// Plays tiles through its window: menu presses, placing, and checks of the
// board and the status line against reference pictures.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "reference.h"
#include "x_harness.h"

// Window coordinates of the menu buttons and of the board.
constexpr int kNewGameX = 100, kNewGameY = 376;
constexpr int kQuitX = 100, kQuitY = 416;
inline int cellX(int col) { return 250 + 65 * col; }
inline int cellY(int row) { return 140 + 65 * row; }

inline bool statusShows(const Shot& shot, const std::string& text) {
    if (text.empty()) return shot.allOf(250, 400, 639, 479, kWhiteRgb);
    return shot.differences(referenceText(text, 250, 400), 250, 400, 639, 479) == 0;
}

inline bool cellShows(const Shot& shot, int col, int row, int value) {
    int x = 65 * col, y = 65 * row;
    return shot.differences(referenceTilesCell(value, col, row), 220 + x, 110 + y, 280 + x,
                            170 + y) == 0;
}

// Reading order, row 0 first; 0 is the blank, -1 unplaced.
using Layout = std::array<int, 16>;

inline bool boardShows(const Shot& shot, const Layout& layout) {
    for (int i = 0; i < 16; ++i)
        if (!cellShows(shot, i % 4, i / 4, layout[i])) return false;
    return true;
}

inline std::string askFor(int n) { return "Paigutage lauale arv " + std::to_string(n) + "."; }

class TilesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.waitForWindow()) << app.output();
        ASSERT_TRUE(app.waitForMenu());
    }

    void waitStatus(const std::string& text, double seconds = 5) {
        Shot last;
        bool ok =
            app.waitUntil([&](const Shot& s) { return statusShows(s, text); }, seconds, &last);
        if (!ok) last.savePng(::testing::TempDir() + "tiles-status-failure.png");
        ASSERT_TRUE(ok) << "status line never showed \"" << text << "\"";
    }

    // The pointer the library draws may still cover a cell for a moment
    // after a press, so screen checks wait a little for their picture.
    bool cellSoon(int col, int row, int value) {
        return app.waitUntil([&](const Shot& s) { return cellShows(s, col, row, value); }, 3);
    }
    bool boardSoon(const Layout& layout) {
        return app.waitUntil([&](const Shot& s) { return boardShows(s, layout); }, 3);
    }

    // The menu is clicked with taps (no time between press and release), as
    // touchpads and remote desktops deliver them; the counters tests hold
    // their presses.
    void newGame() {
        app.tap(kNewGameX, kNewGameY);
        waitStatus(askFor(1));
    }

    // Clicks, in order, the cells where 1..15 are to stand; stops at the
    // first number that is not taken, so a faulty program fails fast.
    void place(const Layout& layout) {
        for (int n = 1; n <= 15; ++n) {
            int i = 0;
            while (layout[i] != n) ++i;
            app.press(cellX(i % 4), cellY(i / 4));
            if (n < 15) {
                ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(n + 1)));
            }
        }
    }

    void quit() {
        app.tap(kQuitX, kQuitY);
        EXPECT_EQ(app.waitExit(5), 0);
    }

    AppUnderTest app{TILES_BIN};
};

constexpr Layout kSolvedLayout = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};
constexpr Layout kUnplacedLayout = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
