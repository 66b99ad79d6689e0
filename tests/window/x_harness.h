#pragma once
// Drives a program in a real X window: starts it, finds its window, presses
// the mouse with xdotool and reads the window's pixels back with Xlib.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
constexpr Rgb kBlackRgb{0, 0, 0};
constexpr Rgb kWhiteRgb{255, 255, 255};

// A copy of the window's 640x480 pixels.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[y * width + x]; }
    // True when every pixel of the rectangle (corners included) has colour c.
    bool allOf(int x1, int y1, int x2, int y2, Rgb c) const;
    // Pixels of the rectangle that differ between the two shots.
    int differences(const Shot& other, int x1, int y1, int x2, int y2) const;
    void savePng(const std::string& path) const;
};

// Both menu buttons are drawn, unpressed (their black left edges).
bool menuDrawn(const Shot& shot);

class AppUnderTest {
public:
    // Starts the program with stdout and stderr captured; `env` adds or, with
    // an empty value, removes environment variables. A Windows program (a
    // path ending in ".exe") runs under Wine, with the Wine settings of the
    // environment.
    explicit AppUnderTest(const std::string& path,
                          const std::vector<std::pair<std::string, std::string>>& env = {});
    ~AppUnderTest();
    AppUnderTest(const AppUnderTest&) = delete;
    AppUnderTest& operator=(const AppUnderTest&) = delete;

    pid_t pid() const { return pid_; }

    // Waits for the program's window to be mapped; false on time-out. X
    // servers now and then refuse a connection while another client
    // connects: a program that ends before it shows a window is started
    // once more, and the harness says so on standard error.
    bool waitForWindow(double seconds = 10);
    // Waits until the menu's two buttons are drawn, then moves the pointer to
    // a spot where it covers nothing the tests look at.
    bool waitForMenu(double seconds = 10);
    unsigned long window() const { return window_; }
    std::string title() const;

    // Mouse and keys, in window coordinates. button: 1 left, 3 right.
    void press(int x, int y, int button = 1, int holdMs = 100);
    void pressBoth(int x, int y, int holdMs = 100);
    void tap(int x, int y, int button = 1);  // down and up in one xdotool call
    void drag(int x1, int y1, int x2, int y2, int button = 1);
    void key(const std::string& name);
    // Several keys, space-separated xdotool names, `delayMs` apart.
    void keys(const std::string& names, int delayMs = 40);
    // Left taps at the points, in order, `gapMs` apart (0: as fast as
    // xdotool sends them, a few milliseconds).
    void taps(const std::vector<std::pair<int, int>>& points, int gapMs = 0);

    Shot grab() const;
    // Polls the window every 20 ms until `ok` holds; false on time-out.
    // Pictures that follow a press come within a few polls of the program;
    // the default leaves room for a loaded machine.
    bool waitUntil(const std::function<bool(const Shot&)>& ok, double seconds = 5,
                   Shot* last = nullptr) const;

    // Exit status, 128 + signal for a signal, -1 on time-out.
    int waitExit(double seconds = 10);
    bool running();
    std::string output() const;

private:
    void start();
    // Moves the pointer to its resting spot in screen coordinates, so that
    // it works on a window that a press has just closed.
    std::string parkCommand() const;

    std::string path_;
    std::vector<std::pair<std::string, std::string>> env_;
    bool underWine_ = false;
    bool restarted_ = false;
    pid_t pid_ = -1;
    int status_ = -1;
    unsigned long window_ = 0;
    int originX_ = 0, originY_ = 0;  // the window's top left on the screen
    std::string outputPath_;
};

// When a test first saw a picture: it was completed after `notBefore` (the
// start of the last poll that did not show it; negative when there was no
// such poll) and by `by` (the end of the first poll that showed it). Gaps
// measured between these bounds hold whatever the load, however late a poll.
struct Sighting {
    double notBefore;
    double by;
    bool bounded() const { return notBefore >= 0; }
};
// At least as long as the time between two pictures really was.
inline double longestGap(const Sighting& earlier, const Sighting& later) {
    return later.by - earlier.notBefore;
}
// At most as long as the time between two pictures really was.
inline double shortestGap(const Sighting& earlier, const Sighting& later) {
    return later.notBefore - earlier.by;
}

// Runs a shell command, returns its exit status and, if wanted, its stdout.
int runCommand(const std::string& command, std::string* out = nullptr);

// Depth of the default screen of $DISPLAY.
int displayDepth();

// Milliseconds on a monotonic clock.
double nowMs();
