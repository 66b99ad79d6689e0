// Start-up at every desktop depth, and the start-up failures.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "reference.h"
#include "x_harness.h"

namespace {

bool firstFrameShown(const Shot& s) {
    for (int i = 0; i < 16; ++i) {
        int col = i % 4, row = i / 4;
        int x = 65 * col, y = 65 * row;
        if (s.differences(referenceTilesCell(-1, col, row), 220 + x, 110 + y, 280 + x, 170 + y) != 0)
            return false;
    }
    return true;
}

// The screen is black on white at every depth Allegro may choose from the
// desktop: 32 and 16 bits are asked for, anything else keeps the default.
TEST(Depth, ScreenIsBlackOnWhiteAndPlacingWorks) {
    AppUnderTest app(TILES_BIN);
    ASSERT_TRUE(app.waitForWindow()) << app.output();
    Shot shot;
    ASSERT_TRUE(app.waitUntil(firstFrameShown, 10, &shot)) << "depth " << displayDepth();
    EXPECT_TRUE(shot.allOf(0, 0, 639, 30, kWhiteRgb));
    EXPECT_TRUE(shot.allOf(210, 100, 215, 375, kBlackRgb));
    EXPECT_TRUE(shot.allOf(25, 362, 25, 388, kBlackRgb)) << "button outline";
    shot.savePng(::testing::TempDir() + "tiles-depth-" + std::to_string(displayDepth()) + ".png");

    app.key("Escape");
    const Shot ask2 = referenceText("Paigutage lauale arv 2.", 250, 400);
    app.press(250, 140);
    EXPECT_TRUE(app.waitUntil(
        [&](const Shot& s) { return s.differences(ask2, 250, 400, 639, 479) == 0; }, 10));
    EXPECT_EQ(app.grab().differences(referenceTilesCell(1, 0, 0), 220, 110, 280, 170), 0);

    app.press(100, 416);
    EXPECT_EQ(app.waitExit(), 0);
}

const std::string kNoScreenMessage = "Pilti n\xe4idata ei \xf5nnestunud!";

TEST(Failure, WithoutDisplayTheProgramSaysSoAndFails) {
    for (const char* program : {TILES_BIN
#ifdef COUNTERS_BIN
                                ,
                                COUNTERS_BIN
#endif
         }) {
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

}  // namespace
