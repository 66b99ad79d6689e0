// Start-up at every desktop depth, and the start-up failures.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "menu_check.h"
#include "tiles_driver.h"

namespace {

// The screen is black on white at every depth the library may choose from
// the desktop: 32 and 16 bits are asked for, anything else keeps the default.
class Depth : public TilesWindow {};

TEST_F(Depth, ScreenIsBlackOnWhiteAndAGameRuns) {
    Shot shot;
    ASSERT_TRUE(
        app.waitUntil([](const Shot& s) { return boardShows(s, kUnplacedLayout); }, 10, &shot))
        << "depth " << displayDepth();
    EXPECT_TRUE(shot.allOf(0, 0, 639, 30, kWhiteRgb));
    EXPECT_TRUE(shot.allOf(210, 100, 215, 375, kBlackRgb));
    EXPECT_TRUE(statusShows(shot, ""));
    expectMenuButtons(shot);
    shot.savePng(::testing::TempDir() + "tiles-depth-" + std::to_string(displayDepth()) + ".png");

    app.key("Escape");
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(1)));
    ASSERT_NO_FATAL_FAILURE(place(kSolvedLayout));
    // Every step of the script still pauses once on a solved board.
    ASSERT_NO_FATAL_FAILURE(waitStatus("Lahendatud!.", 20));
    EXPECT_TRUE(boardSoon(kSolvedLayout));
    quit();
}

// Terminal text comes out in the locale's character set: UTF-8 where the
// locale says so, the letters without their marks in plain ASCII, never the
// raw Latin-1 bytes the screen texts are made of.
TEST(Failure, WithoutDisplayTheProgramSaysSoInTheLocalesCharset) {
    const std::pair<const char*, std::string> kLocales[] = {
        {"C.UTF-8", "Pilti n\xc3\xa4idata ei \xc3\xb5nnestunud!\n"},
        {"C", "Pilti naidata ei onnestunud!\n"},
    };
    for (const char* program : {TILES_BIN, COUNTERS_BIN}) {
        for (const auto& [locale, message] : kLocales) {
            AppUnderTest app(program, {{"DISPLAY", ""}, {"LC_ALL", locale}});
            int status = app.waitExit(20);
            EXPECT_EQ(status, 1) << program << " " << locale << ": " << app.output();
            EXPECT_NE(app.output().find(message), std::string::npos)
                << program << " " << locale << ": " << app.output();
            EXPECT_EQ(app.output().find_first_of("\xe4\xf5"), std::string::npos)
                << "raw Latin-1 from " << program;
        }
    }
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A program file that lost its appended font (as a strip would do) shows a
// message box and ends with status 1 once it is closed, never with a signal.
TEST(Failure, WithoutItsAppendedFontTheProgramSaysSoAndFails) {
    std::string copy = ::testing::TempDir() + "tiles-without-font";
    ASSERT_EQ(runCommand("cp " TILES_BIN " " + copy + " && exedat -d " + copy + " >/dev/null"), 0);
    AppUnderTest app(copy, {{"LC_ALL", "C.UTF-8"}});
    // The library shows its message with xmessage and waits for it.
    std::string box;
    double end = nowMs() + 15000;
    while (nowMs() < end && box.empty()) {
        runCommand("pgrep -P " + std::to_string(app.pid()) + " xmessage", &box);
        if (!app.running()) break;
        usleep(50000);
    }
    ASSERT_FALSE(box.empty()) << "no message box; output: " << app.output();
    int boxPid = std::stoi(box);
    std::string cmdline = readFile("/proc/" + std::to_string(boxPid) + "/cmdline");
    EXPECT_NE(cmdline.find("Kirjat\xfc\xfcpi ei \xf5nnestunud laadida!"), std::string::npos)
        << cmdline;
    runCommand("kill " + std::to_string(boxPid));
    EXPECT_EQ(app.waitExit(10), 1);
    // A box closed other than with OK makes the library print the message;
    // the program passes it on in the locale's character set.
    const std::string inUtf8 = "Kirjat\xc3\xbc\xc3\xbcpi ei \xc3\xb5nnestunud laadida!";
    EXPECT_NE(app.output().find(inUtf8), std::string::npos) << app.output();
    unlink(copy.c_str());
}

// The Debian package that the "package" test built, unpacked as dpkg would
// put it: its tiles plays a game to the end with its font, its counters
// shows its first screen.
TEST(Install, PackagedProgramsPlayAndShowTheirFont) {
    std::string root = ::testing::TempDir() + "kalvorintu-package";
    ASSERT_EQ(runCommand("rm -rf " + root + " && mkdir " + root +
                         " && dpkg-deb -x " BUILD_DIR "/package-test/out/kalvorintu_*.deb " + root),
              0);
    AppUnderTest tiles(root + "/usr/games/tiles");
    ASSERT_TRUE(tiles.waitForWindow()) << tiles.output();
    ASSERT_TRUE(tiles.waitForMenu());
    tiles.press(kNewGameX, kNewGameY);
    ASSERT_TRUE(tiles.waitUntil([](const Shot& s) { return statusShows(s, askFor(1)); }));
    // One move from solved: 15 goes right into the gap.
    const Layout oneMove = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 15};
    for (int n = 1; n <= 15; ++n) {
        int i = 0;
        while (oneMove[i] != n) ++i;
        tiles.press(cellX(i % 4), cellY(i / 4));
        if (n < 15) {
            auto asksNext = [n](const Shot& s) { return statusShows(s, askFor(n + 1)); };
            ASSERT_TRUE(tiles.waitUntil(asksNext));
        }
    }
    EXPECT_TRUE(tiles.waitUntil([](const Shot& s) { return statusShows(s, "Lahendatud!."); }, 20));
    EXPECT_TRUE(tiles.waitUntil([](const Shot& s) { return boardShows(s, kSolvedLayout); }, 3));
    tiles.press(kQuitX, kQuitY);
    EXPECT_EQ(tiles.waitExit(), 0);

    AppUnderTest counters(root + "/usr/games/counters");
    ASSERT_TRUE(counters.waitForWindow()) << counters.output();
    ASSERT_TRUE(counters.waitForMenu());
    const Shot banner = referenceText("-=# MURAK #=-", 25, 35);
    auto bannerShown = [&](const Shot& s) { return s.differences(banner, 25, 35, 300, 62) == 0; };
    EXPECT_TRUE(counters.waitUntil(bannerShown));
    counters.press(kQuitX, kQuitY);
    EXPECT_EQ(counters.waitExit(), 0);
    runCommand("rm -rf " + root);
}

}  // namespace
