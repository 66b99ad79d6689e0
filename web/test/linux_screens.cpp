// The Linux programs' screens at the moments the browser test compares the
// canvas with: the same games, placed the same way, in real windows under
// Xvfb, driven by the window tests' own harness and drivers. Each screen is
// written as raw RGB (640x480x3) to $WEB_SCREENS_DIR/NAME.rgb.

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "counters_driver.h"
#include "tiles_driver.h"

namespace {

// The library draws its pointer into the screen; in the browser the page's
// own pointer stands in for it. With the pointer out of the window the
// library takes its own away, and what is left is the program's screen.
Shot screenWithoutPointer(AppUnderTest& app) {
    runCommand("xdotool mousemove 1000 760");
    Shot earlier = app.grab();
    for (int i = 0; i < 100; ++i) {
        runCommand("sleep 0.05");
        Shot now = app.grab();
        if (now.pixels == earlier.pixels && now.allOf(610, 365, 640 - 1, 400, kWhiteRgb))
            return now;
        earlier = now;
    }
    ADD_FAILURE() << "the screen did not settle without the pointer";
    return earlier;
}

void save(AppUnderTest& app, const std::string& name) {
    const char* dir = std::getenv("WEB_SCREENS_DIR");
    ASSERT_NE(dir, nullptr) << "WEB_SCREENS_DIR names the folder for the screens";
    Shot shot = screenWithoutPointer(app);
    std::ofstream out(std::string(dir) + "/" + name + ".rgb", std::ios::binary);
    for (const Rgb& p : shot.pixels) {
        const char rgb[3] = {char(p.r), char(p.g), char(p.b)};
        out.write(rgb, 3);
    }
    ASSERT_TRUE(out.good()) << name;
}

}  // namespace

// The browser test's tiles page, step by step: the first screen, a solve,
// Escape, an unsolvable placement, a script that gives up, and quitting.
TEST_F(TilesWindow, Screens) {
    // Places a game and records the menu over its outcome.
    auto playTo = [&](const Layout& layout, const std::string& outcome, const std::string& name) {
        ASSERT_NO_FATAL_FAILURE(place(layout));
        ASSERT_NO_FATAL_FAILURE(waitStatus(outcome, 30));
        ASSERT_TRUE(app.waitUntil(menuDrawn));
        save(app, name);
    };
    save(app, "tiles-start");
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(playTo({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 13, 14, 15, 12},
                                   "Lahendatud!.", "tiles-solved"));

    app.key("Escape");
    ASSERT_NO_FATAL_FAILURE(waitStatus(askFor(1)));
    save(app, "tiles-escape");
    ASSERT_NO_FATAL_FAILURE(playTo({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 0},
                                   "See seis ei ole lahenduv!.", "tiles-unsolvable"));

    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(playTo({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 12, 11, 13, 14, 10, 15},
                                   "Ma enam ei oska :( (samm 17)", "tiles-gaveup"));
    quit();
}

namespace counters_window {

// The browser test's counters pages: a new game, placed with both buttons
// and played back; a placement that cannot be solved (in the browser, by
// touch).
TEST_F(CountersWindow, Screens) {
    auto playTo = [&](const std::string& row, const std::string& outcome, const std::string& name) {
        ASSERT_NO_FATAL_FAILURE(place(row));
        ASSERT_NO_FATAL_FAILURE(waitStatus(outcome, 20));
        ASSERT_TRUE(app.waitUntil(menuDrawn));
        save(app, name);
    };
    save(app, "counters-start");
    ASSERT_NO_FATAL_FAILURE(newGame());
    save(app, "counters-new");
    ASSERT_NO_FATAL_FAILURE(playTo("WWB-WBB", kSolvedText, "counters-solved"));
    ASSERT_NO_FATAL_FAILURE(newGame());
    ASSERT_NO_FATAL_FAILURE(playTo("-BBBWWW", kUnsolvableText, "counters-unsolvable"));
    quit();
}

}  // namespace counters_window
