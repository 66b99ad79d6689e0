// A long tiles game watched move by move: every picture the program shows
// during the solve is read back and must be one legal move from the last,
// shown no sooner than the pause between moves allows.

#include <algorithm>
#include <optional>
#include <vector>

#include "tiles_driver.h"

namespace {

// Reference crops of one cell for every value it can show, drawn at (0,0);
// the other cells are the same pictures moved by whole pixels.
class CellReader {
public:
    CellReader() {
        for (int value = -1; value <= 15; ++value) {
            Shot s = referenceTilesCell(value, 0, 0);
            crops_.push_back(crop(s, 0, 0));
        }
    }

    // The value shown in cell (col, row), or nothing when the cell matches
    // no reference (the pointer over it, or a redraw under way).
    std::optional<int> read(const Shot& shot, int col, int row) const {
        std::vector<Rgb> here = crop(shot, col, row);
        for (size_t i = 0; i < crops_.size(); ++i)
            if (crops_[i] == here) return int(i) - 1;
        return std::nullopt;
    }

    std::optional<Layout> readBoard(const Shot& shot) const {
        Layout layout;
        for (int i = 0; i < 16; ++i) {
            auto v = read(shot, i % 4, i / 4);
            if (!v) return std::nullopt;
            layout[i] = *v;
        }
        return layout;
    }

private:
    static std::vector<Rgb> crop(const Shot& s, int col, int row) {
        std::vector<Rgb> out;
        for (int y = 110 + 65 * row; y <= 170 + 65 * row; ++y)
            for (int x = 220 + 65 * col; x <= 280 + 65 * col; ++x) out.push_back(s.at(x, y));
        return out;
    }
    std::vector<std::vector<Rgb>> crops_;
};

// True when `b` is `a` with the blank swapped with one side neighbour.
bool oneMoveApart(const Layout& a, const Layout& b) {
    int blankA = int(std::find(a.begin(), a.end(), 0) - a.begin());
    int blankB = int(std::find(b.begin(), b.end(), 0) - b.begin());
    int dc = std::abs(blankA % 4 - blankB % 4), dr = std::abs(blankA / 4 - blankB / 4);
    if (dc + dr != 1) return false;
    Layout undone = b;
    std::swap(undone[blankA], undone[blankB]);
    return undone == a;
}

TEST_F(TilesWindow, PocketGameIsSolvedMoveByMoveAtTheSetPace) {
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 0, 13, 10, 11, 9, 15, 14, 12};
    const CellReader reader;
    newGame();
    place(start);

    std::vector<Layout> seen;
    std::vector<double> shownAt;
    double end = nowMs() + 90000;
    bool solved = false;
    while (nowMs() < end && !solved) {
        Shot shot = app.grab();
        double t = nowMs();
        if (auto board = reader.readBoard(shot)) {
            if (seen.empty() || *board != seen.back()) {
                seen.push_back(*board);
                shownAt.push_back(t);
            }
        }
        solved = statusShows(shot, "Lahendatud!.");
    }
    ASSERT_TRUE(solved) << "no \"Lahendatud!.\" after " << seen.size() << " pictures";
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), start);
    EXPECT_EQ(seen.back(), kSolvedLayout);
    EXPECT_EQ(seen.size(), 41u) << "the solve takes 40 moves";
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_TRUE(oneMoveApart(seen[i - 1], seen[i])) << "picture " << i;
        // Every move is followed by a 500 ms pause; polling may see the
        // next picture up to one grab late, never early.
        if (i >= 2) {
            EXPECT_GE(shownAt[i] - shownAt[i - 1], 450) << "picture " << i;
        }
    }
    quit();
}

}  // namespace
