#pragma once
// Plays counters through its window: menu presses, placing counters by mouse,
// and reading the row and the status line back against reference pictures.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "reference.h"
#include "x_harness.h"

// The tiles driver has helpers of the same names, and inline functions of one
// name must be one function across the whole test program.
namespace counters_window {

// Window coordinates of the menu buttons.
constexpr int kNewGameX = 100, kNewGameY = 376;
constexpr int kQuitX = 100, kQuitY = 416;

constexpr int kCells = 7;
constexpr int kPitch = 52;
// Centre line of the counters and of the hit boxes.
constexpr int kRowY = 230;
// Hit box k takes 210 + 52k < x < 250 + 52k and 210 < y < 250, bounds excluded.
inline int boxLeft(int k) { return 210 + kPitch * k; }
inline int boxRight(int k) { return 250 + kPitch * k; }
constexpr int kBoxTop = 210, kBoxBottom = 250;
inline int boxMiddle(int k) { return 230 + kPitch * k; }
// Drawn cell k, between the frame bars and separators.
inline int cellLeft(int k) { return 216 + kPitch * k; }
inline int cellRight(int k) { return 264 + kPitch * k; }
constexpr int kCellTop = 206, kCellBottom = 254;

const std::string kPlacingText = "Vasak nupp - valge, parem nupp - must.";
const std::string kSolvingText = "Lahendan.";
const std::string kSolvedText = "Lahendatud!.";
const std::string kUnsolvableText = "See seis ei ole lahenduv!.";

// Status pictures are compared on every poll of a game, so each is drawn once.
inline const Shot& statusReference(const std::string& text) {
    static std::map<std::string, Shot> drawn;
    auto it = drawn.find(text);
    if (it == drawn.end()) {
        // The placing line starts further left than the other two.
        int x = text == kPlacingText ? 220 : 250;
        it = drawn.emplace(text, referenceText(text, x, 400)).first;
    }
    return it->second;
}

// The whole status area, so a line at the wrong x or a leftover of the last
// line fails too. An empty text means no status line.
inline bool statusShows(const Shot& shot, const std::string& text) {
    if (text.empty()) return shot.allOf(220, 400, 639, 479, kWhiteRgb);
    return shot.differences(statusReference(text), 220, 400, 639, 479) == 0;
}

inline std::vector<Rgb> cellPixels(const Shot& shot, int k) {
    std::vector<Rgb> out;
    for (int y = kCellTop; y <= kCellBottom; ++y)
        for (int x = cellLeft(k); x <= cellRight(k); ++x) out.push_back(shot.at(x, y));
    return out;
}

// 'B', 'W' or '-' for the content cell k shows; '?' when it matches no
// reference (the pointer over it, a redraw under way, or a drawing fault).
inline char readCell(const Shot& shot, int k) {
    static const auto references = [] {
        std::array<std::array<std::vector<Rgb>, kCells>, 3> r;
        for (int content = 0; content < 3; ++content)
            for (int i = 0; i < kCells; ++i)
                r[content][i] = cellPixels(referenceCounter(content, i), i);
        return r;
    }();
    std::vector<Rgb> here = cellPixels(shot, k);
    for (int content = 0; content < 3; ++content)
        if (references[content][k] == here) return "-BW"[content];
    return '?';
}

// Cell 0 first, e.g. "BBB-WWW".
inline std::string readRow(const Shot& shot) {
    std::string row;
    for (int k = 0; k < kCells; ++k) row += readCell(shot, k);
    return row;
}

class CountersWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.waitForWindow()) << app.output();
        ASSERT_TRUE(app.waitForMenu());
    }

    void waitStatus(const std::string& text, double seconds = 5) {
        Shot last;
        bool ok =
            app.waitUntil([&](const Shot& s) { return statusShows(s, text); }, seconds, &last);
        if (!ok) last.savePng(::testing::TempDir() + "counters-status-failure.png");
        ASSERT_TRUE(ok) << "status line never showed \"" << text << "\"";
    }

    // The pointer the library draws may still cover the cell just pressed,
    // so a row check waits a little for its picture.
    ::testing::AssertionResult rowSoon(const std::string& row, double seconds = 3) {
        Shot last;
        if (app.waitUntil([&](const Shot& s) { return readRow(s) == row; }, seconds, &last))
            return ::testing::AssertionSuccess();
        last.savePng(::testing::TempDir() + "counters-row-failure.png");
        return ::testing::AssertionFailure()
               << "the row shows " << readRow(last) << ", not " << row;
    }

    void newGame() {
        app.press(kNewGameX, kNewGameY);
        waitStatus(kPlacingText);
    }

    // 'B' with the right button, 'W' with the left, in the middle of the box.
    void placeAt(int k, char counter) { app.press(boxMiddle(k), kRowY, counter == 'B' ? 3 : 1); }

    // Places the counters of `row` from cell 0 rightwards, checking each one
    // but the last, whose picture the caller watches for.
    void place(const std::string& row) {
        std::string shown(kCells, '-');
        int left = kCells - 1;
        for (int k = 0; k < kCells; ++k) {
            if (row[k] == '-') continue;
            placeAt(k, row[k]);
            shown[k] = row[k];
            if (--left > 0) {
                ASSERT_TRUE(rowSoon(shown));
            }
        }
    }

    void quit() {
        app.press(kQuitX, kQuitY);
        EXPECT_EQ(app.waitExit(5), 0);
    }

    AppUnderTest app{COUNTERS_BIN};
};

}  // namespace counters_window
