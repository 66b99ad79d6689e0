#pragma once
// Plays tiles through its window: menu presses, placing, and checks of the
// board and the status line against reference pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

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

// Reads a rectangle of the window, moved by (dx, dy), as the index of the
// reference picture it matches exactly; nothing when it matches none (the
// pointer over it, or a redraw under way).
class CropReader {
public:
    CropReader(int x1, int y1, int x2, int y2, const std::vector<Shot>& references)
        : x1_(x1), y1_(y1), x2_(x2), y2_(y2) {
        for (const Shot& r : references) crops_.push_back(crop(r, 0, 0));
    }

    std::optional<int> read(const Shot& shot, int dx = 0, int dy = 0) const {
        auto it = std::find(crops_.begin(), crops_.end(), crop(shot, dx, dy));
        if (it == crops_.end()) return std::nullopt;
        return int(it - crops_.begin());
    }

private:
    std::vector<Rgb> crop(const Shot& s, int dx, int dy) const {
        std::vector<Rgb> out;
        for (int y = y1_ + dy; y <= y2_ + dy; ++y)
            for (int x = x1_ + dx; x <= x2_ + dx; ++x) out.push_back(s.at(x, y));
        return out;
    }
    int x1_, y1_, x2_, y2_;
    std::vector<std::vector<Rgb>> crops_;
};

// Cell (0,0) for every value it can show, -1 first; the other cells are the
// same pictures moved by whole cells.
inline std::vector<Shot> cellReferences() {
    std::vector<Shot> out;
    for (int value = -1; value <= 15; ++value) out.push_back(referenceTilesCell(value, 0, 0));
    return out;
}

inline std::optional<Layout> readBoard(const CropReader& cells, const Shot& shot) {
    Layout layout;
    for (int i = 0; i < 16; ++i) {
        auto v = cells.read(shot, 65 * (i % 4), 65 * (i / 4));
        if (!v) return std::nullopt;
        layout[i] = *v - 1;
    }
    return layout;
}

// True when `b` is `a` with the blank swapped with one side neighbour.
inline bool oneMoveApart(const Layout& a, const Layout& b) {
    int blankA = int(std::find(a.begin(), a.end(), 0) - a.begin());
    int blankB = int(std::find(b.begin(), b.end(), 0) - b.begin());
    int dc = std::abs(blankA % 4 - blankB % 4), dr = std::abs(blankA / 4 - blankB / 4);
    if (dc + dr != 1) return false;
    Layout undone = b;
    std::swap(undone[blankA], undone[blankB]);
    return undone == a;
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
