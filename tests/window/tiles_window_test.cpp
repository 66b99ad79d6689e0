// tiles in a real window: start-up, menu, placing by mouse and whole games.

#include "menu_check.h"
#include "tiles_driver.h"

namespace {

TEST_F(TilesWindow, StartsWhiteWithTitleBannerEmptyBoardAndMenu) {
    EXPECT_EQ(app.title(), "Kalvorintu!");
    Shot shot;
    // The first frame: sixteen "?" cells and no status line.
    ASSERT_TRUE(app.waitUntil(
        [](const Shot& s) {
            for (int i = 0; i < 16; ++i)
                if (!cellShows(s, i % 4, i / 4, -1)) return false;
            return true;
        },
        10, &shot))
        << (shot.savePng(::testing::TempDir() + "tiles-start-failure.png"),
            "see tiles-start-failure.png");
    EXPECT_TRUE(statusShows(shot, ""));
    EXPECT_EQ(shot.differences(referenceText("* TORVANE *", 25, 35), 25, 35, 200, 62), 0);
    // Frame bars, black.
    EXPECT_TRUE(shot.allOf(210, 100, 215, 375, kBlackRgb));
    EXPECT_TRUE(shot.allOf(480, 100, 485, 375, kBlackRgb));
    EXPECT_TRUE(shot.allOf(210, 100, 485, 105, kBlackRgb));
    EXPECT_TRUE(shot.allOf(210, 370, 485, 375, kBlackRgb));
    // White everywhere the program draws nothing.
    EXPECT_TRUE(shot.allOf(0, 0, 639, 30, kWhiteRgb));
    EXPECT_TRUE(shot.allOf(490, 60, 639, 355, kWhiteRgb));
    EXPECT_TRUE(shot.allOf(0, 70, 205, 355, kWhiteRgb));
    expectMenuButtons(shot);
    shot.savePng(::testing::TempDir() + "tiles-start.png");
    quit();
}

TEST_F(TilesWindow, EscapeStartsANewGame) {
    app.key("Escape");
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(1)));
}

TEST_F(TilesWindow, OnlyLeftPressesInsideAnUnplacedCellPlace) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    // Drawn cell edges, gaps, the frame and the right button place nothing.
    const int misses[][2] = {{220, 140}, {280, 140}, {250, 110}, {250, 170},
                             {282, 140}, {250, 172}, {212, 200}, {100, 200}};
    for (const auto& m : misses) app.press(m[0], m[1]);
    app.press(cellX(1), cellY(1), 3);
    // A left press afterwards shows that nothing was placed before it.
    app.press(221, 111);
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(2)));
    EXPECT_TRUE(cellSoon(0, 0, 1));
    EXPECT_TRUE(cellSoon(1, 1, -1));
    EXPECT_TRUE(cellSoon(1, 0, -1));

    // A taken cell stays as it is.
    app.press(279, 169);
    app.press(cellX(3), cellY(3));
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(3)));
    EXPECT_TRUE(cellSoon(0, 0, 1));
    EXPECT_TRUE(cellSoon(3, 3, 2));

    // A press shorter than a poll still counts, once.
    app.tap(cellX(2), cellY(0));
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(4)));
    EXPECT_TRUE(cellSoon(2, 0, 3));

    // A press dragged over two unplaced cells places one number.
    app.drag(cellX(0), cellY(2), cellX(2), cellY(2));
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(5)));
    EXPECT_TRUE(cellSoon(0, 2, 4));
    EXPECT_TRUE(cellSoon(1, 2, -1));
    EXPECT_TRUE(cellSoon(2, 2, -1));
}

TEST_F(TilesWindow, NearlySolvedGameIsSolvedUnderTheMenu) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12};
    ASSERT_NO_FATAL_FAILURE(place(start));
    Shot shot;
    // The fifteenth press makes the borderless blank at once.
    ASSERT_TRUE(app.waitUntil([&](const Shot& s) { return cellShows(s, 3, 2, 0); }, 5, &shot));
    ASSERT_NO_FATAL_FAILURE(waitStatus("Lahendatud!.", 20));
    EXPECT_TRUE(boardSoon(kSolvedLayout));
    app.grab().savePng(::testing::TempDir() + "tiles-solved.png");
    quit();
}

TEST_F(TilesWindow, UnsolvablePlacementIsReported) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    const Layout start = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 0};
    ASSERT_NO_FATAL_FAILURE(place(start));
    ASSERT_NO_FATAL_FAILURE(waitStatus("See seis ei ole lahenduv!."));
    EXPECT_TRUE(boardSoon(start)) << "the position stays as placed";
    // Nothing to solve: no hint, and N does nothing at the menu.
    EXPECT_TRUE(hintShows(app.grab(), ""));
    app.key("n");
    EXPECT_FALSE(app.waitUntil(
        [&](const Shot& s) {
            return !statusShows(s, "See seis ei ole lahenduv!.") || !boardShows(s, start);
        },
        0.5))
        << "N did something after an unsolvable placement";
    // A new game after it starts from an empty board.
    ASSERT_NO_FATAL_FAILURE(newGame());
    EXPECT_TRUE(boardSoon(kUnplacedLayout));
}

TEST_F(TilesWindow, ScriptThatCannotGoOnNamesItsStep) {
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(place({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 12, 11, 13, 14, 10, 15}));
    ASSERT_NO_FATAL_FAILURE(waitStatus("Ma enam ei oska :( (samm 17)", 20));
    quit();
}

}  // namespace
