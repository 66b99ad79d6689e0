// Times, in a real window, tiles' shortest solution from the key N to its
// first move, for scripts/measure.
//
// Usage: first_move PROGRAM "C0 C1 ... C15"
//
// Starts PROGRAM (tiles), chooses "Uus mäng", places the position (16 cells
// row by row, 0 the gap) by clicking the cells, lets the script play until
// the menu is back, then presses N and prints the milliseconds from the
// press to the first change of the board after the placed position is shown
// again. The tables are built at the press: the program is fresh. Input
// goes through xdotool, each press held 100 ms, twice the program's 50 ms
// poll. Exit status 1 when a stage never came.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "titled_window.h"

namespace {

using bench::findTitled;
using bench::ignoreErrors;

// The board's 16 cells, window coordinates, and where a click hits each.
constexpr int kBoardX = 220, kBoardY = 110, kBoardSide = 4 * 65;
constexpr int kCellCentreX = 250, kCellCentreY = 140, kCellStep = 65;
constexpr int kNewGameX = 100, kNewGameY = 376;
// "Uus mäng" up: its left border black, its inside white (a fresh window is
// all black, and the button pressed for the game is black inside).
constexpr int kMenuX = 25, kMenuY = 375, kInsideX = 30, kInsideY = 366;
// Where the pointer rests: off the board, which the program draws it over.
constexpr int kParkX = 620, kParkY = 372;
// A board picture must hold this long to count: a redraw in progress, or
// the status line's redraw during the search, may show a cell half drawn
// for a moment, while the placed position and each move hold 500 ms.
constexpr double kSteadyMs = 150;

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The pixels of a rectangle of the window; empty when the read failed.
std::vector<unsigned long> pixels(Display* dpy, Window w, int x, int y, int width, int height) {
    std::vector<unsigned long> out;
    XImage* image = XGetImage(dpy, w, x, y, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return out;
    out.reserve(width * height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) out.push_back(XGetPixel(image, i, j));
    XDestroyImage(image);
    return out;
}

using Picture = std::vector<unsigned long>;

Picture board(Display* dpy, Window w) {
    return pixels(dpy, w, kBoardX, kBoardY, kBoardSide, kBoardSide);
}

bool menuShown(Display* dpy, Window w) {
    const Picture border = pixels(dpy, w, kMenuX, kMenuY, 1, 1);
    const Picture inside = pixels(dpy, w, kInsideX, kInsideY, 1, 1);
    return !border.empty() && !inside.empty() && border[0] == BlackPixel(dpy, DefaultScreen(dpy)) &&
           inside[0] == WhitePixel(dpy, DefaultScreen(dpy));
}

// Polls every 2 ms until `ok` holds; false after `seconds`.
bool waitFor(double seconds, const std::function<bool()>& ok) {
    const double end = nowMs() + seconds * 1000;
    while (nowMs() < end) {
        if (ok()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

bool xdotool(const std::string& args) { return std::system(("xdotool " + args).c_str()) == 0; }

std::string clickArgs(Window w, int x, int y) {
    std::ostringstream s;
    s << "mousemove --window " << w << ' ' << x << ' ' << y << " sleep 0.12 mousedown 1 sleep 0.1"
      << " mouseup 1 sleep 0.03 mousemove --window " << w << ' ' << kParkX << ' ' << kParkY;
    return s.str();
}

int fail(const char* what) {
    std::fprintf(stderr, "first_move: %s\n", what);
    return 1;
}

int measure(Display* dpy, Window w, const int (&cells)[16]) {
    if (!waitFor(20, [&] { return menuShown(dpy, w); })) return fail("no menu");
    // The library learns where the pointer is only when it enters the window.
    const std::string window = " --window " + std::to_string(w) + " ";
    if (!xdotool("mousemove 900 700 sleep 0.1 mousemove" + window + "600 352 sleep 0.1 mousemove" +
                 window + std::to_string(kParkX) + " " + std::to_string(kParkY) + " sleep 0.2") ||
        !xdotool(clickArgs(w, kNewGameX, kNewGameY)))
        return fail("xdotool failed");
    if (!waitFor(10, [&] { return !menuShown(dpy, w); })) return fail("no placing");
    for (int n = 1; n <= 15; ++n) {
        for (int i = 0; i < 16; ++i) {
            if (cells[i] != n) continue;
            const int x = kCellCentreX + kCellStep * (i % 4),
                      y = kCellCentreY + kCellStep * (i / 4);
            if (!xdotool(clickArgs(w, x, y))) return fail("xdotool failed");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    // The script plays a move every 500 ms: a long run takes minutes.
    if (!waitFor(600, [&] { return menuShown(dpy, w); })) return fail("the script never ended");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Picture before = board(dpy, w);

    // The key goes to the window under the pointer, parked by the last click.
    // Sent in the background, so that the board is watched while it is held;
    // the clock starts before xdotool does, which only adds its start-up.
    const double pressed = nowMs();
    if (!xdotool("keydown n sleep 0.1 keyup n &")) return fail("xdotool failed");

    // The placed position: the first steady picture after the press that is
    // not the board at the menu.
    Picture placed, last;
    double since = 0;
    if (!waitFor(10, [&] {
            Picture now = board(dpy, w);
            if (now.empty() || now == before) return false;
            if (now != last) {
                last = now;
                since = nowMs();
            }
            if (nowMs() - since < kSteadyMs) return false;
            placed = now;
            return true;
        }))
        return fail("the placed position was never shown");

    // The first move: the first change from the placed position that lasts.
    double changed = -1;
    if (!waitFor(30, [&] {
            Picture now = board(dpy, w);
            if (now.empty()) return false;
            if (now == placed) {
                changed = -1;
                return false;
            }
            if (changed < 0) changed = nowMs();
            return nowMs() - changed >= kSteadyMs;
        }))
        return fail("no move after the placed position");
    std::printf("%.0f\n", changed - pressed);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int cells[16];
    std::istringstream in(argc == 3 ? argv[2] : "");
    int count = 0;
    while (count < 16 && in >> cells[count]) ++count;
    if (count != 16) {
        std::fprintf(stderr, "usage: first_move PROGRAM \"C0 C1 ... C15\"\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) return fail("no X display");
    XSetErrorHandler(ignoreErrors);

    pid_t pid = bench::startQuietly(argv[1]);
    Window w = 0;
    waitFor(15, [&] { return (w = findTitled(dpy, DefaultRootWindow(dpy))) != 0; });
    const int status = w != 0 ? measure(dpy, w, cells) : fail("no window");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(dpy);
    return status;
}
