// A long tiles game watched move by move: every picture the program shows
// during the solve is read back and must be one legal move from the last,
// shown no sooner than the pause between moves allows. Each gap is measured
// from the last poll that missed the earlier picture to the end of the first
// poll that saw the later one, which is never shorter than the real gap: a
// late poll on a busy machine can only lengthen it.

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

// The status lines of a solve, read back as a number: the tile being brought
// home (1..15), 0 for no line, kSolvedLine for "Lahendatud!.".
constexpr int kSolvedLine = 16;

class StatusReader {
public:
    StatusReader() {
        for (int line = 0; line <= kSolvedLine; ++line) {
            std::string text = line == 0 ? "" : line == kSolvedLine ? "Lahendatud!."
                                                                    : "Viin numbrit " + std::to_string(line) + " oma kohale.";
            crops_.push_back(crop(referenceText(text, 250, 400)));
        }
    }

    // Nothing when the line matches none (a redraw under way).
    std::optional<int> read(const Shot& shot) const {
        std::vector<Rgb> here = crop(shot);
        for (size_t i = 0; i < crops_.size(); ++i)
            if (crops_[i] == here) return int(i);
        return std::nullopt;
    }

private:
    static std::vector<Rgb> crop(const Shot& s) {
        std::vector<Rgb> out;
        for (int y = 400; y < 480; ++y)
            for (int x = 250; x < 640; ++x) out.push_back(s.at(x, y));
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

// The solver pauses 500 ms after every picture it draws: each move, each
// finished step (its status line names the next tile) and the last one
// before "Lahendatud!.". A redraw may end a little late when the machine is
// busy, shortening the next gap by as much.
constexpr double kPauseMs = 500;
constexpr double kRedrawSlackMs = 30;

struct Picture {
    Layout board;
    int status;
    bool operator!=(const Picture& o) const { return board != o.board || status != o.status; }
};

TEST_F(TilesWindow, PocketGameIsSolvedMoveByMoveAtTheSetPace) {
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 0, 13, 10, 11, 9, 15, 14, 12};
    const CellReader cells;
    const StatusReader status;
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(place(start));

    // Polls as fast as the window can be read, with no pause of its own.
    std::vector<Picture> seen;
    std::vector<Sighting> sightings;
    double lastPollStart = -1;
    double longestPoll = 0;
    // 40 moves and 23 finished steps take about 32 s.
    const double end = nowMs() + 60000;
    while (nowMs() < end && (seen.empty() || seen.back().status != kSolvedLine)) {
        const double pollStart = nowMs();
        Shot shot = app.grab();
        const double pollEnd = nowMs();
        auto board = cells.readBoard(shot);
        auto line = status.read(shot);
        if (board && line && (seen.empty() || Picture{*board, *line} != seen.back())) {
            seen.push_back({*board, *line});
            sightings.push_back({lastPollStart, pollEnd});
        }
        if (lastPollStart >= 0) longestPoll = std::max(longestPoll, pollEnd - lastPollStart);
        lastPollStart = pollStart;
    }
    ASSERT_FALSE(seen.empty());
    ASSERT_EQ(seen.back().status, kSolvedLine) << "no \"Lahendatud!.\" after " << seen.size() << " pictures";
    EXPECT_EQ(seen.front().board, start);
    EXPECT_EQ(seen.back().board, kSolvedLayout);

    int moves = 0;
    for (size_t i = 1; i < seen.size(); ++i) {
        if (seen[i].board == seen[i - 1].board) continue;
        EXPECT_TRUE(oneMoveApart(seen[i - 1].board, seen[i].board)) << "picture " << i;
        ++moves;
    }
    EXPECT_EQ(moves, 40) << "the solve takes 40 moves, each shown";

    // The first picture may have been up before the first poll: its gap is
    // bounded only if a poll missed it.
    const size_t first = sightings[0].bounded() ? 0 : 1;
    for (size_t i = first + 1; i < seen.size(); ++i) {
        EXPECT_GE(longestGap(sightings[i - 1], sightings[i]), kPauseMs - kRedrawSlackMs)
            << "picture " << i << " came early (longest poll " << longestPoll << " ms)";
    }
    EXPECT_GE(longestGap(sightings[first], sightings.back()),
              (seen.size() - 1 - first) * kPauseMs - kRedrawSlackMs)
        << "the game went faster than one picture per pause";
    quit();
}

}  // namespace
