// counters in a real window: the first screen, placing by mouse, a whole game
// watched move by move, an unsolvable placement and the menu's Escape.

#include <string>
#include <vector>

#include "counters_driver.h"
#include "menu_check.h"

namespace counters_window {
namespace {

TEST_F(CountersWindow, FirstScreenShowsBannerFramedEmptyRowAndMenuAndQuitEndsWithZero) {
    EXPECT_EQ(app.title(), "Kalvorintu!");
    Shot shot;
    ASSERT_TRUE(app.waitUntil([](const Shot& s) { return readRow(s) == "-------"; }, 10, &shot))
        << "the row shows " << readRow(shot);
    EXPECT_TRUE(statusShows(shot, "")) << "no status line before the first game";

    // The banner and nothing else above the row or left of it.
    const Shot banner = referenceText("-=# MURAK #=-", 25, 35);
    EXPECT_EQ(shot.differences(banner, 0, 0, 639, 199), 0);
    EXPECT_EQ(shot.differences(banner, 0, 0, 209, 355), 0);

    // Frame bars and separators; the cells between them were read as empty.
    EXPECT_TRUE(shot.allOf(210, 200, 215, 260, kBlackRgb)) << "left bar";
    EXPECT_TRUE(shot.allOf(577, 200, 582, 260, kBlackRgb)) << "right bar";
    EXPECT_TRUE(shot.allOf(210, 200, 582, 205, kBlackRgb)) << "top bar";
    EXPECT_TRUE(shot.allOf(210, 255, 582, 260, kBlackRgb)) << "bottom bar";
    for (int k = 0; k < kCells - 1; ++k)
        EXPECT_TRUE(shot.allOf(265 + kPitch * k, 200, 267 + kPitch * k, 260, kBlackRgb))
            << "separator " << k;
    EXPECT_TRUE(shot.allOf(583, 0, 639, 355, kWhiteRgb));
    EXPECT_TRUE(shot.allOf(0, 261, 639, 355, kWhiteRgb));

    expectMenuButtons(shot);
    shot.savePng(::testing::TempDir() + "counters-start.png");
    quit();
}

// Two games that end in goal rows, so neither plays anything back.
TEST_F(CountersWindow, PressesPlaceOnlyInsideFreeBoxesWithTheButtonsColour) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    struct Press {
        int x, y, button;
    };
    // Bounds of boxes 0, 1 and 6, and drawn cells outside every box; the
    // presses alternate between the buttons, both of which would place.
    const Press misses[] = {
        {boxLeft(0), kRowY, 1},
        {boxRight(0), kRowY, 1},
        {boxLeft(1), kRowY, 3},
        {boxRight(1), kRowY, 3},
        {boxLeft(6), kRowY, 1},
        {boxRight(6), kRowY, 3},
        {boxMiddle(0), kBoxTop, 1},
        {boxMiddle(0), kBoxBottom, 3},
        {boxMiddle(6), kBoxTop, 3},
        {boxMiddle(6), kBoxBottom, 1},
        {255, kRowY, 1},
        {565, kRowY, 3},
    };
    for (const Press& m : misses) app.press(m.x, m.y, m.button, 40);
    // On the left frame bar, still box 0: this white is the only counter.
    app.press(212, kRowY, 1);
    EXPECT_TRUE(rowSoon("W------"));

    // The last column of drawn cell 0 is box 1; both buttons place white.
    app.pressBoth(264, kRowY);
    EXPECT_TRUE(rowSoon("WW-----"));

    // Taken cells keep their counters, whatever the button.
    app.press(boxMiddle(0), kRowY, 3);
    app.press(boxMiddle(1), kRowY, 1);
    app.pressBoth(boxMiddle(0), kRowY);
    placeAt(4, 'B');
    EXPECT_TRUE(rowSoon("WW--B--"));

    // The third white; a fourth is refused while blacks are still missing.
    // (Not with both buttons: xdotool sends the two presses one after the
    // other, and a poll between them on a busy machine sees a right press.)
    placeAt(2, 'W');
    EXPECT_TRUE(rowSoon("WWW-B--"));
    app.press(boxMiddle(3), kRowY, 1);
    placeAt(5, 'B');
    EXPECT_TRUE(rowSoon("WWW-BB-"));
    EXPECT_TRUE(statusShows(app.grab(), kPlacingText));

    // A black sixth counter ends placing; the row is a goal already.
    placeAt(6, 'B');
    ASSERT_NO_FATAL_FAILURE(waitStatus(kSolvedText));
    EXPECT_TRUE(rowSoon("WWW-BBB"));

    // A new game starts from an empty row.
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_TRUE(rowSoon("-------"));
    placeAt(4, 'B');
    placeAt(5, 'B');
    placeAt(6, 'B');
    EXPECT_TRUE(rowSoon("----BBB"));
    // A fourth black is refused.
    app.press(boxMiddle(2), kRowY, 3);
    // The last column of box 0, inside drawn cell 0.
    app.press(249, kRowY, 1);
    EXPECT_TRUE(rowSoon("W---BBB"));
    // A white press on a black counter changes nothing; separator 0 is box 1.
    app.press(boxMiddle(4), kRowY, 1);
    app.press(266, kRowY, 1);
    EXPECT_TRUE(rowSoon("WW--BBB"));

    // A white sixth counter ends placing just the same.
    placeAt(3, 'W');
    ASSERT_NO_FATAL_FAILURE(waitStatus(kSolvedText));
    EXPECT_TRUE(rowSoon("WW-WBBB"));
}

// Each move follows the last picture after a 1500 ms pause. A redraw reaches
// the X server through the library's own thread, which a busy machine may run
// up to about 100 ms late, shortening the next gap by as much; over the whole
// playback only the first picture's delay counts.
constexpr double kMovePauseMs = 1500;
constexpr double kRedrawSlackMs = 100;

TEST_F(CountersWindow, LongestGameIsPlayedBackMoveByMoveAtItsPace) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(place("BBB-WWW"));

    const std::vector<std::string> expected = {"BBB-WWW", "B-BBWWW", "BWBB-WW", "BW-BBWW",
                                               "BWWBB-W", "BWWBBW-", "BWW-BWB", "-WWBBWB",
                                               "WW-BBWB", "WWWBB-B"};
    // A picture is the row with its status line: 'P' placing, 'S' solving,
    // 'D' done, '?' anything else. A grab may catch a redraw half-way, with
    // the source cell emptied and the destination not yet filled: a picture
    // counts once two polls in a row agree on it, from the first of them.
    auto pictureOf = [](const Shot& s) {
        const char line = statusShows(s, kSolvingText)   ? 'S'
                          : statusShows(s, kSolvedText)  ? 'D'
                          : statusShows(s, kPlacingText) ? 'P'
                                                         : '?';
        return readRow(s) + line;
    };
    std::vector<std::string> seen;
    std::vector<Sighting> sightings;
    std::string previous;
    double previousStart = -1, earlierStart = -1;
    Shot shot;
    // Nine moves take 13.5 s.
    const double end = nowMs() + 30000;
    while ((seen.empty() || seen.back().back() != 'D') && nowMs() < end) {
        const double pollStart = nowMs();
        shot = app.grab();
        const std::string picture = pictureOf(shot);
        if (picture == previous && picture.find('?') == std::string::npos &&
            (seen.empty() || picture != seen.back())) {
            seen.push_back(picture);
            sightings.push_back({earlierStart, nowMs()});
        }
        previous = picture;
        earlierStart = previousStart;
        previousStart = pollStart;
    }
    ASSERT_TRUE(!seen.empty() && seen.back().back() == 'D')
        << "no \"" << kSolvedText << "\" with a steady row; last row " << readRow(shot);

    // The playback: every row from the placed one on, while "Lahendan."
    // shows. The last row gets "Lahendatud!." at once, often before two polls
    // could agree on it with "Lahendan.": then its sighting with the final
    // line stands for it, which may come a poll late but never early.
    std::vector<std::string> rows;
    std::vector<Sighting> at;
    for (size_t i = 0; i < seen.size(); ++i) {
        const std::string row = seen[i].substr(0, kCells);
        if (seen[i].back() == 'P' || (!rows.empty() && rows.back() == row)) continue;
        rows.push_back(row);
        at.push_back(sightings[i]);
    }
    ASSERT_EQ(rows, expected);
    EXPECT_EQ(seen.back(), expected.back() + 'D');
    const bool lastRowSeenSolving = seen[seen.size() - 2] == expected.back() + 'S';

    // The placed row may have been up before the first poll: its gap is
    // bounded only if a poll missed it.
    const size_t first = at[0].bounded() ? 0 : 1;
    for (size_t i = first + 1; i < rows.size(); ++i) {
        EXPECT_GE(longestGap(at[i - 1], at[i]), kMovePauseMs - kRedrawSlackMs)
            << "move " << i << " came early";
        if (i + 1 < rows.size() || lastRowSeenSolving) {
            EXPECT_LE(shortestGap(at[i - 1], at[i]), 2 * kMovePauseMs)
                << "move " << i << " came late";
        }
    }
    EXPECT_GE(longestGap(at[first], at.back()),
              (rows.size() - 1 - first) * kMovePauseMs - kRedrawSlackMs)
        << "the playback went faster than one move per pause";

    // The menu comes back over the final row. Until the dialog redraws them,
    // the buttons still look as they did when "new game" was pressed.
    EXPECT_TRUE(app.waitUntil(
        [&](const Shot& s) {
            return menuDrawn(s) && statusShows(s, kSolvedText) && readRow(s) == expected.back();
        },
        3, &shot));
    shot.savePng(::testing::TempDir() + "counters-solved.png");
    quit();
}

TEST_F(CountersWindow, UnsolvablePlacementIsReportedAndLeftAsPlaced) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(place("-BBBWWW"));
    ASSERT_NO_FATAL_FAILURE(waitStatus(kUnsolvableText));
    EXPECT_TRUE(rowSoon("-BBBWWW"));
    // A new game after it starts from an empty row.
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_TRUE(rowSoon("-------"));
}

TEST_F(CountersWindow, EscapeAtTheMenuStartsANewGame) {
    app.key("Escape");
    ASSERT_NO_FATAL_FAILURE(waitStatus(kPlacingText));
    EXPECT_TRUE(rowSoon("-------"));
    placeAt(0, 'W');
    EXPECT_TRUE(rowSoon("W------"));
}

}  // namespace
}  // namespace counters_window
