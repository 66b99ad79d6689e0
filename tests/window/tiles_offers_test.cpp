// tiles' two offers in a real window: J places the rest of the numbers at
// random while placing, and N at the menu plays the shortest solution of the
// position placed, move by move at the script's pace.

#include <signal.h>

#include <string>
#include <vector>

#include "tiles_driver.h"

namespace {

class TilesOffers : public TilesWindow {};

const std::string kHintRandom = "J - juhuslik seis";
const std::string kHintShortest = "N - n\xe4ita l\xfchimat lahendust";
const std::string kStopped17 = "Ma enam ei oska :( (samm 17)";

std::string moveLine(int move, int length) {
    return "L\xfchim lahendus: k\xe4ik " + std::to_string(move) + "/" + std::to_string(length) +
           ".";
}
std::string solvedIn(int length) {
    return "Lahendatud " + std::to_string(length) + " k\xe4iguga!.";
}

bool hintSoon(const AppUnderTest& app, const std::string& text) {
    return app.waitUntil([&](const Shot& s) { return hintShows(s, text); }, 3);
}

// A full board that slides can bring to the goal: on a board four wide, the
// inversions of the tiles in reading order plus the blank's row from the top
// (0 to 3) make an odd number, as they do for the goal itself.
bool solvableLayout(const Layout& layout) {
    int inversions = 0, blankRow = -1;
    for (int i = 0; i < 16; ++i) {
        if (layout[i] == 0) blankRow = i / 4;
        for (int j = i + 1; j < 16; ++j)
            inversions += layout[i] > 0 && layout[j] > 0 && layout[j] < layout[i];
    }
    return (inversions + blankRow) % 2 == 1;
}

bool fullBoard(const Layout& layout) {
    Layout sorted = layout;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 16; ++i)
        if (sorted[i] != i) return false;
    return true;
}

// The first board read whole with every number placed, within `seconds`.
std::optional<Layout> firstFullBoard(const AppUnderTest& app, double seconds) {
    const CropReader cells(220, 110, 280, 170, cellReferences());
    std::optional<Layout> found;
    app.waitUntil(
        [&](const Shot& s) {
            found = readBoard(cells, s);
            return found && fullBoard(*found);
        },
        seconds);
    if (found && !fullBoard(*found)) found.reset();
    return found;
}

// The placed number stays; the three cells left take 14, 15 and the blank
// in one of the three orders that can be solved, and the game goes on as if
// they had been placed by hand: the script solves it under the menu.
TEST_F(TilesOffers, RandomRestKeepsThePlacedNumbersAndTheGameGoesOn) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_TRUE(hintSoon(app, kHintRandom));
    Layout placed = kUnplacedLayout;
    for (int n = 1; n <= 13; ++n) {
        app.press(cellX((n - 1) % 4), cellY((n - 1) / 4));
        ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(n + 1)));
        placed[n - 1] = n;
    }
    app.grab().savePng(::testing::TempDir() + "tiles-placing-hint.png");
    // N is no key of the placing phase.
    app.key("n");
    EXPECT_FALSE(app.waitUntil([&](const Shot& s) { return !statusShows(s, askFor(14)); }, 0.5))
        << "N did something while placing";
    EXPECT_TRUE(boardSoon(placed));

    app.key("j");
    const std::optional<Layout> full = firstFullBoard(app, 5);
    ASSERT_TRUE(full) << "J did not fill the board";
    for (int i = 0; i < 13; ++i) EXPECT_EQ((*full)[i], i + 1) << "cell " << i;
    const std::vector<Layout> solvable = {
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 15},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0, 14, 15},
    };
    EXPECT_NE(std::find(solvable.begin(), solvable.end(), *full), solvable.end())
        << "a completion that cannot be solved";
    ASSERT_NO_FATAL_FAILURE(waitStatus("Lahendatud!.", 20));
    EXPECT_TRUE(boardSoon(kSolvedLayout));
    EXPECT_TRUE(hintSoon(app, kHintShortest)) << "a solved game offers the shortest solution";
    quit();
}

// From an empty board J places all fifteen; two runs draw two positions
// (one in 10^13 would be the same), so the random source is not seeded
// alike in every run.
TEST_F(TilesOffers, TwoRunsDrawDifferentPositions) {
    std::vector<Layout> drawn;
    for (int run = 0; run < 2; ++run) {
        std::optional<AppUnderTest> second;
        if (run == 1) {
            kill(app.pid(), SIGKILL);
            app.waitExit(5);
            second.emplace(TILES_BIN);
            ASSERT_TRUE(second->waitForWindow()) << second->output();
            ASSERT_TRUE(second->waitForMenu());
        }
        AppUnderTest& now = run == 0 ? app : *second;
        now.tap(kNewGameX, kNewGameY);
        ASSERT_TRUE(now.waitUntil([](const Shot& s) { return statusShows(s, askFor(1)); }, 5));
        now.key("j");
        // The first picture after J already shows the script's first move, if
        // it made one; the position is as random, and as solvable.
        const std::optional<Layout> full = firstFullBoard(now, 5);
        ASSERT_TRUE(full) << "J did not fill the board in run " << run;
        EXPECT_TRUE(solvableLayout(*full)) << "run " << run;
        drawn.push_back(*full);
    }
    EXPECT_NE(drawn[0], drawn[1]);
}

// The solver pauses 500 ms after each move. A redraw reaches the X server
// through the library's own thread, which a busy machine may run up to about
// 100 ms late, shortening the next gap by as much; a gap more than twice the
// pause is a wrong pace, not a busy machine.
constexpr double kPauseMs = 500;
constexpr double kRedrawSlackMs = 100;

// What the status area can show while the shortest solution is sought and
// played, by category.
struct StatusLines {
    enum Kind { None, Seeking, Move, Solved };
    std::vector<Shot> pictures;
    std::vector<Kind> kinds;
    std::vector<int> numbers;  // the bound, or the move

    explicit StatusLines(int length) {
        add(None, 0, "");
        add(Seeking, 0, "Otsin l\xfchimat lahendust.");
        add(Seeking, 1, "Otsin: l\xfchim on v\xe4hemalt 1 k\xe4ik.");
        for (int bound = 2; bound <= length; ++bound)
            add(Seeking, bound,
                "Otsin: l\xfchim on v\xe4hemalt " + std::to_string(bound) + " k\xe4iku.");
        for (int move = 1; move <= length; ++move) add(Move, move, moveLine(move, length));
        add(Solved, length, solvedIn(length));
    }
    void add(Kind kind, int number, const std::string& text) {
        pictures.push_back(referenceText(text, 250, 400));
        kinds.push_back(kind);
        numbers.push_back(number);
    }
};

struct Picture {
    Layout board;
    int status;
    bool operator!=(const Picture& o) const { return board != o.board || status != o.status; }
};

// The step 17 stop: the script gives up after one move, and the shortest
// solution of the placed position is 15 moves (tiles_shortest, and a
// breadth-first search, agree).
constexpr Layout kStopStart = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 12, 11, 13, 14, 10, 15};
constexpr int kStopShortest = 15;

TEST_F(TilesOffers, ShortestSolutionOfAStoppedGameIsPlayedMoveByMoveAndAgainOnRequest) {
    // Before any game N does nothing: no hint, the menu stays over the
    // unplaced board.
    EXPECT_TRUE(hintShows(app.grab(), ""));
    app.key("n");
    EXPECT_FALSE(app.waitUntil(
        [](const Shot& s) { return !boardShows(s, kUnplacedLayout) || !statusShows(s, ""); }, 0.5))
        << "N did something before any game";

    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(place(kStopStart));
    ASSERT_NO_FATAL_FAILURE(waitStatus(kStopped17, 20));
    EXPECT_TRUE(hintSoon(app, kHintShortest));
    ASSERT_TRUE(app.waitUntil([](const Shot& s) { return menuDrawn(s); }, 3));

    const CropReader cells(220, 110, 280, 170, cellReferences());
    const StatusLines lines(kStopShortest);
    const CropReader status(250, 400, 639, 479, lines.pictures);
    const int solvedLine = int(lines.pictures.size()) - 1;

    app.key("n");
    std::vector<Picture> seen;
    std::vector<Sighting> sightings;
    double lastPollStart = -1;
    bool pressedDuring = false;
    // The tables may be built first; under the sanitizers that takes a while.
    const double end = nowMs() + 120000;
    while (nowMs() < end && (seen.empty() || seen.back().status != solvedLine)) {
        const double pollStart = nowMs();
        Shot shot = app.grab();
        const double pollEnd = nowMs();
        auto board = readBoard(cells, shot);
        auto line = status.read(shot);
        if (board && line && (seen.empty() || Picture{*board, *line} != seen.back())) {
            seen.push_back({*board, *line});
            sightings.push_back({lastPollStart, pollEnd});
            if (seen.size() == 1) shot.savePng(::testing::TempDir() + "tiles-shortest-start.png");
            if (lines.kinds[*line] == StatusLines::Move && lines.numbers[*line] == 12)
                shot.savePng(::testing::TempDir() + "tiles-shortest-move.png");
        }
        lastPollStart = pollStart;
        // Keys and presses during the playback are dropped: Return and a
        // press on "Uus mäng" would start a new game at the menu.
        if (!pressedDuring && line && lines.kinds[*line] == StatusLines::Move &&
            lines.numbers[*line] == 3) {
            app.key("Return");
            app.tap(kNewGameX, kNewGameY);
            pressedDuring = true;
        }
    }
    ASSERT_FALSE(seen.empty());
    ASSERT_EQ(seen.back().status, solvedLine)
        << "no \"" << solvedIn(kStopShortest) << "\" after " << seen.size() << " pictures";
    EXPECT_TRUE(pressedDuring);

    // The stopped game's status line is none of these: the first picture read
    // is the placed position shown again. Until the first move, only the
    // search's lines may join it, with a bound that only grows.
    ASSERT_EQ(seen[0].board, kStopStart) << "the placed position was not shown again";
    size_t firstMove = 0;
    while (firstMove < seen.size() && lines.kinds[seen[firstMove].status] != StatusLines::Move)
        ++firstMove;
    ASSERT_LT(firstMove, seen.size()) << "no move was named";
    ASSERT_GT(firstMove, 0u);
    int lastBound = 0;
    for (size_t i = 0; i < firstMove; ++i) {
        EXPECT_EQ(seen[i].board, kStopStart) << "picture " << i;
        const int line = seen[i].status;
        EXPECT_NE(lines.kinds[line], StatusLines::Solved);
        EXPECT_GE(lines.numbers[line], lastBound) << "the bound went down";
        lastBound = lines.numbers[line];
    }

    // Then the moves, each one slide of a tile and named in order, the last
    // leaving the goal.
    for (size_t i = firstMove; i + 1 < seen.size(); ++i) {
        const int move = int(i - firstMove) + 1;
        EXPECT_TRUE(oneMoveApart(seen[i - 1].board, seen[i].board)) << "move " << move;
        EXPECT_EQ(lines.kinds[seen[i].status], StatusLines::Move) << "picture " << i;
        EXPECT_EQ(lines.numbers[seen[i].status], move) << "picture " << i;
    }
    EXPECT_EQ(seen.size() - 1 - firstMove, size_t(kStopShortest))
        << "the solution is not the shortest, or a move was not shown";
    EXPECT_EQ(seen.back().board, kSolvedLayout);
    EXPECT_EQ(seen[seen.size() - 2].board, kSolvedLayout) << "the end changes only the line";

    // The pace: the placed position for at least a pause, then a move every
    // pause, the end a pause after the last move.
    for (size_t i = firstMove; i < seen.size(); ++i) {
        const size_t from = i == firstMove ? 0 : i - 1;
        EXPECT_GE(longestGap(sightings[from], sightings[i]), kPauseMs - kRedrawSlackMs)
            << "picture " << i << " came early";
        if (i > firstMove) {
            EXPECT_LE(shortestGap(sightings[i - 1], sightings[i]), 2 * kPauseMs)
                << "picture " << i << " came late";
        }
    }
    EXPECT_GE(longestGap(sightings[firstMove], sightings.back()),
              kStopShortest * kPauseMs - kRedrawSlackMs)
        << "the moves went faster than one per pause";

    // The menu is back over the solved board, offering the same again, and
    // what was pressed during the playback chose nothing.
    ASSERT_TRUE(app.waitUntil([](const Shot& s) { return menuDrawn(s); }, 3));
    EXPECT_TRUE(hintSoon(app, kHintShortest));
    app.grab().savePng(::testing::TempDir() + "tiles-shortest-end.png");
    EXPECT_FALSE(
        app.waitUntil([&](const Shot& s) { return !statusShows(s, solvedIn(kStopShortest)); }, 0.5))
        << "a key or press made during the playback chose on the menu";

    // N again: the placed position once more, and the same number of moves.
    app.key("n");
    EXPECT_TRUE(boardSoon(kStopStart)) << "the placed position is not shown again";
    ASSERT_NO_FATAL_FAILURE(waitStatus(solvedIn(kStopShortest), 30));
    EXPECT_TRUE(boardSoon(kSolvedLayout));
    quit();
}

// Short enough for every system: a game the script solves, then N, and the
// three moves of its shortest solution to the end.
TEST_F(TilesOffers, ShortSolutionOnRequest) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 13, 14, 15};
    ASSERT_NO_FATAL_FAILURE(place(start));
    ASSERT_NO_FATAL_FAILURE(waitStatus("Lahendatud!.", 20));
    EXPECT_TRUE(hintSoon(app, kHintShortest));
    app.key("n");
    EXPECT_TRUE(boardSoon(start)) << "the placed position is not shown again";
    ASSERT_NO_FATAL_FAILURE(waitStatus(moveLine(1, 3), 60));
    EXPECT_TRUE(boardSoon({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0, 14, 15}));
    ASSERT_NO_FATAL_FAILURE(waitStatus(solvedIn(3), 5));
    EXPECT_TRUE(boardSoon(kSolvedLayout));
    EXPECT_TRUE(hintSoon(app, kHintShortest));
    quit();
}

}  // namespace
