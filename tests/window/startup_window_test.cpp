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
    ASSERT_TRUE(app.waitUntil([](const Shot& s) { return boardShows(s, kUnplacedLayout); }, 10, &shot))
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

const std::string kNoScreenMessage = "Pilti n\xe4idata ei \xf5nnestunud!";

TEST(Failure, WithoutDisplayTheProgramSaysSoAndFails) {
    for (const char* program : {TILES_BIN, COUNTERS_BIN}) {
        AppUnderTest app(program, {{"DISPLAY", ""}});
        int status = app.waitExit(20);
        EXPECT_EQ(status, 1) << program << ": " << app.output();
        EXPECT_NE(app.output().find(kNoScreenMessage), std::string::npos) << app.output();
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
    AppUnderTest app(copy);
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
    EXPECT_NE(cmdline.find("Kirjat\xfc\xfcpi ei \xf5nnestunud laadida!"), std::string::npos) << cmdline;
    runCommand("kill " + std::to_string(boxPid));
    EXPECT_EQ(app.waitExit(10), 1);
    unlink(copy.c_str());
}

// Installing copies the program files whole: the appended font must survive,
// so installed programs start and draw their text.
TEST(Install, InstalledProgramsStartAndShowTheirFont) {
    std::string prefix = ::testing::TempDir() + "kalvorintu-install";
    ASSERT_EQ(runCommand("rm -rf " + prefix + " && cmake --install " BUILD_DIR " --prefix " + prefix +
                         " >/dev/null"),
              0);
    AppUnderTest tiles(prefix + "/bin/tiles");
    ASSERT_TRUE(tiles.waitForWindow()) << tiles.output();
    ASSERT_TRUE(tiles.waitForMenu());
    EXPECT_TRUE(tiles.waitUntil([](const Shot& s) { return boardShows(s, kUnplacedLayout); }));
    tiles.press(kQuitX, kQuitY);
    EXPECT_EQ(tiles.waitExit(), 0);
    AppUnderTest counters(prefix + "/bin/counters");
    ASSERT_TRUE(counters.waitForWindow()) << counters.output();
    ASSERT_TRUE(counters.waitForMenu());
    const Shot banner = referenceText("-=# MURAK #=-", 25, 35);
    EXPECT_TRUE(counters.waitUntil([&](const Shot& s) { return s.differences(banner, 25, 35, 300, 62) == 0; }));
    counters.press(kQuitX, kQuitY);
    EXPECT_EQ(counters.waitExit(), 0);
    runCommand("rm -rf " + prefix);
}

}  // namespace
