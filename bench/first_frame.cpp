// Times one start of a program up to its first drawn frame, for scripts/measure.
//
// Usage: first_frame PROGRAM [TIMEOUT_SECONDS]
//
// Starts PROGRAM, watches the display for its window and prints, in seconds,
// how long it took until the window showed a black pixel at (212, 200) next to
// a white one at (205, 200): the left frame bar, which both programs draw, on
// the white background that start-up lays. A fresh window is black, so the
// black pixel alone could be seen before anything was drawn. The program is
// then ended. Exit status 1 when the frame never came.

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
#include <thread>

#include "titled_window.h"

namespace {

using bench::findTitled;
using bench::ignoreErrors;

constexpr int kBarX = 212, kBackgroundX = 205, kProbeY = 200;

double nowSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// 0 for black, 2 for white, 1 for anything else (including a failed read).
int shade(Display* dpy, Window w, const XWindowAttributes& attr, int x, int y) {
    XImage* image = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    Visual* v = attr.visual;
    if (v->c_class != TrueColor && v->c_class != DirectColor) {
        XColor c;
        c.pixel = p;
        XQueryColor(dpy, attr.colormap, &c);
        if (c.red == 0 && c.green == 0 && c.blue == 0) return 0;
        return (c.red == 0xffff && c.green == 0xffff && c.blue == 0xffff) ? 2 : 1;
    }
    unsigned long all = v->red_mask | v->green_mask | v->blue_mask;
    if ((p & all) == 0) return 0;
    return (p & all) == all ? 2 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame PROGRAM [TIMEOUT_SECONDS]\n");
        return 2;
    }
    double timeout = argc > 2 ? std::atof(argv[2]) : 10.0;
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "first_frame: no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);

    double start = nowSeconds();
    pid_t pid = bench::startQuietly(argv[1]);

    double seen = -1;
    Window w = 0;
    while (nowSeconds() - start < timeout) {
        XSync(dpy, False);
        if (w == 0) w = findTitled(dpy, DefaultRootWindow(dpy));
        XWindowAttributes attr;
        if (w != 0 && XGetWindowAttributes(dpy, w, &attr) && attr.map_state == IsViewable &&
            shade(dpy, w, attr, kBarX, kProbeY) == 0 &&
            shade(dpy, w, attr, kBackgroundX, kProbeY) == 2) {
            seen = nowSeconds() - start;
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(dpy);
    if (seen < 0) {
        std::fprintf(stderr, "first_frame: no frame from %s\n", argv[1]);
        return 1;
    }
    std::printf("%.3f\n", seen);
    return 0;
}
