// A long tiles game watched move by move: every picture the program shows
// during the solve is read back and must be one legal move from the last,
// shown no sooner than the pause between moves allows. Each gap is measured
// from the last poll that missed the earlier picture to the end of the first
// poll that saw the later one, which is never shorter than the real gap: a
// late poll on a busy machine can only lengthen it.

#include <vector>

#include "tiles_driver.h"

namespace {

// The status lines of a solve, by index: no line, the tile being brought
// home (1..15), then "Lahendatud!.".
constexpr int kSolvedLine = 16;

std::vector<Shot> statusReferences() {
    std::vector<Shot> out{referenceText("", 250, 400)};
    for (int tile = 1; tile <= 15; ++tile)
        out.push_back(
            referenceText("Viin numbrit " + std::to_string(tile) + " oma kohale.", 250, 400));
    out.push_back(referenceText("Lahendatud!.", 250, 400));
    return out;
}

// The solver pauses 500 ms after every picture it draws: each move, each
// finished step (its status line names the next tile) and the last one
// before "Lahendatud!.". A redraw reaches the X server through the library's
// own thread, which a busy machine may run up to about 100 ms late, shortening
// the next gap by as much; over the whole game only the first picture's delay
// counts, so the total holds the pace to within that.
constexpr double kPauseMs = 500;
constexpr double kRedrawSlackMs = 100;

struct Picture {
    Layout board;
    int status;
    bool operator!=(const Picture& o) const { return board != o.board || status != o.status; }
};

TEST_F(TilesWindow, PocketGameIsSolvedMoveByMoveAtTheSetPace) {
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 0, 13, 10, 11, 9, 15, 14, 12};
    const CropReader cells(220, 110, 280, 170, cellReferences());
    const CropReader status(250, 400, 639, 479, statusReferences());
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
        auto board = readBoard(cells, shot);
        auto line = status.read(shot);
        if (board && line && (seen.empty() || Picture{*board, *line} != seen.back())) {
            seen.push_back({*board, *line});
            sightings.push_back({lastPollStart, pollEnd});
        }
        if (lastPollStart >= 0) longestPoll = std::max(longestPoll, pollEnd - lastPollStart);
        lastPollStart = pollStart;
    }
    ASSERT_FALSE(seen.empty());
    ASSERT_EQ(seen.back().status, kSolvedLine)
        << "no \"Lahendatud!.\" after " << seen.size() << " pictures";
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
