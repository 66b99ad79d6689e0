#include "x_harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

// Where the pointer rests between actions: the programs draw it into the
// screen, so it must stay clear of everything the tests compare.
constexpr int kParkX = 620;
constexpr int kParkY = 372;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const char kTitle[] = "Kalvorintu!";

// Windows of programs that just ended vanish between listing and asking;
// such errors mean "not this window", not a failed test.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

Display* display() {
    static Display* dpy = [] {
        Display* d = XOpenDisplay(nullptr);
        if (d == nullptr)
            throw std::runtime_error("no X display: run the window tests under with-xvfb");
        XSetErrorHandler(ignoreXError);
        return d;
    }();
    return dpy;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool viewable(Window w) {
    XWindowAttributes attr;
    return XGetWindowAttributes(display(), w, &attr) && attr.map_state == IsViewable;
}

// Depth-first over the window tree for a viewable window with our title.
Window findTitled(Window w) {
    char* name = nullptr;
    if (XFetchName(display(), w, &name) && name != nullptr) {
        bool match = std::string(name) == kTitle;
        XFree(name);
        if (match && viewable(w)) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display(), w, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) found = findTitled(children[i]);
    if (children) XFree(children);
    return found;
}

int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int maskTo8(unsigned long pixel, unsigned long mask) {
    unsigned long v = (pixel & mask) >> maskShift(mask);
    unsigned long max = mask >> maskShift(mask);
    return int((v * 255 + max / 2) / max);
}

// There is no window manager. Wine waits for one to acknowledge each window
// it maps (the WM_STATE property, ICCCM 4.1.3.1) before it unmaps it again,
// up to 2 s, which would make every Windows program take that long to
// quit. The harness acknowledges the map as a window manager would.
void acknowledgeMap(Window w) {
    Atom wmState = XInternAtom(display(), "WM_STATE", False);
    long normalState[2] = {NormalState, None};
    XChangeProperty(display(), w, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(normalState), 2);
    XSync(display(), False);
}

// True when the X server has the pointer at (x, y) of window w.
bool pointerAt(Window w, int x, int y) {
    Window root, child;
    int rootX, rootY, winX, winY;
    unsigned int mask;
    return XQueryPointer(display(), w, &root, &child, &rootX, &rootY, &winX, &winY, &mask) &&
           winX == x && winY == y;
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int runCommand(const std::string& command, std::string* out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[4096];
    size_t n;
    std::string text;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    int status = pclose(pipe);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int displayDepth() { return DefaultDepth(display(), DefaultScreen(display())); }

bool Shot::allOf(int x1, int y1, int x2, int y2, Rgb c) const {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (!(at(x, y) == c)) return false;
    return true;
}

int Shot::differences(const Shot& other, int x1, int y1, int x2, int y2) const {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) n += !(at(x, y) == other.at(x, y));
    return n;
}

void Shot::savePng(const std::string& path) const {
    std::string ppm = path + ".ppm";
    {
        std::ofstream f(ppm, std::ios::binary);
        f << "P6\n" << width << " " << height << "\n255\n";
        for (const Rgb& p : pixels) {
            char rgb[3] = {char(p.r), char(p.g), char(p.b)};
            f.write(rgb, 3);
        }
    }
    runCommand("convert " + shellQuote(ppm) + " " + shellQuote(path) + " && rm -f " +
               shellQuote(ppm));
}

AppUnderTest::AppUnderTest(const std::string& path,
                           const std::vector<std::pair<std::string, std::string>>& env)
    : path_(path), env_(env) {
    underWine_ = path.size() > 4 && path.compare(path.size() - 4, 4, ".exe") == 0;
    char name[] = "/tmp/window-test-output-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    close(fd);
    outputPath_ = name;
    start();
}

void AppUnderTest::start() {
    int fd = open(outputPath_.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) throw std::runtime_error("cannot open " + outputPath_);
    // The window opens away from the pointer, so that it enters it later.
    if (std::getenv("DISPLAY")) runCommand("xdotool mousemove 900 700 2>/dev/null");
    status_ = -1;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
        for (const auto& [key, value] : env_) {
            if (value.empty()) {
                unsetenv(key.c_str());
            } else {
                setenv(key.c_str(), value.c_str(), 1);
            }
        }
        if (underWine_) {
            execlp("wine", "wine", path_.c_str(), static_cast<char*>(nullptr));
        } else {
            execl(path_.c_str(), path_.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    close(fd);
}

AppUnderTest::~AppUnderTest() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outputPath_.c_str());
}

bool AppUnderTest::running() {
    if (status_ != -1) return false;
    int status;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

int AppUnderTest::waitExit(double seconds) {
    double end = nowMs() + seconds * 1000;
    while (running()) {
        if (nowMs() > end) return -1;
        sleepMs(10);
    }
    return status_;
}

std::string AppUnderTest::output() const {
    std::ifstream f(outputPath_, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool AppUnderTest::waitForWindow(double seconds) {
    double end = nowMs() + seconds * 1000;
    while (nowMs() < end) {
        XSync(display(), False);
        window_ = findTitled(DefaultRootWindow(display()));
        Window child;
        if (window_ != 0 && XTranslateCoordinates(display(), window_, DefaultRootWindow(display()),
                                                  0, 0, &originX_, &originY_, &child)) {
            if (underWine_) acknowledgeMap(window_);
            return true;
        }
        if (!running()) {
            if (restarted_) return false;
            restarted_ = true;
            static int restarts = 0;
            std::fprintf(stderr,
                         "harness: %s ended before showing a window (status %d); started again (%d "
                         "so far)\n",
                         path_.c_str(), status_, ++restarts);
            start();
            end = nowMs() + seconds * 1000;
        }
        sleepMs(20);
    }
    return false;
}

bool menuDrawn(const Shot& shot) {
    return shot.allOf(25, 362, 25, 388, kBlackRgb) && shot.allOf(25, 402, 25, 428, kBlackRgb);
}

bool AppUnderTest::waitForMenu(double seconds) {
    if (!waitUntil(menuDrawn, seconds)) return false;
    // The library learns where the pointer is when it enters the window:
    // leave the window, come back to the resting spot, and check that the
    // pointer the library draws is there. Under Wine the pointer is the X
    // server's cursor, which no capture shows, and Wine moves it, when it
    // first enters the window, to where the library put it at start-up:
    // there the check asks the X server where the pointer is.
    auto pointerParked = [](const Shot& s) {
        return !s.allOf(kParkX, kParkY, kParkX + 8, kParkY + 12, kWhiteRgb);
    };
    for (int attempt = 0; attempt < 5; ++attempt) {
        char cmd[200];
        std::snprintf(cmd, sizeof cmd,
                      "xdotool mousemove 900 700 sleep 0.1 mousemove --window %lu %d %d sleep 0.1 "
                      "mousemove --window %lu %d %d",
                      window_, kParkX - 20, kParkY - 20, window_, kParkX, kParkY);
        runCommand(cmd);
        if (underWine_ ? (sleepMs(200), pointerAt(window_, kParkX, kParkY))
                       : waitUntil(pointerParked, 1))
            return true;
    }
    return false;
}

std::string AppUnderTest::title() const {
    char* name = nullptr;
    std::string t;
    if (XFetchName(display(), window_, &name) && name != nullptr) {
        t = name;
        XFree(name);
    }
    return t;
}

void AppUnderTest::press(int x, int y, int button, int holdMs) {
    char cmd[400];
    std::snprintf(
        cmd, sizeof cmd,
        "xdotool mousemove --window %lu %d %d sleep 0.12 mousedown %d sleep %.3f mouseup %d "
        "sleep 0.03 %s",
        window_, x, y, button, holdMs / 1000.0, button, parkCommand().c_str());
    runCommand(cmd);
}

void AppUnderTest::pressBoth(int x, int y, int holdMs) {
    char cmd[400];
    std::snprintf(cmd, sizeof cmd,
                  "xdotool mousemove --window %lu %d %d sleep 0.12 mousedown 1 mousedown 3 "
                  "sleep %.3f mouseup 3 mouseup 1 sleep 0.03 %s",
                  window_, x, y, holdMs / 1000.0, parkCommand().c_str());
    runCommand(cmd);
}

void AppUnderTest::tap(int x, int y, int button) {
    char cmd[400];
    std::snprintf(cmd, sizeof cmd,
                  "xdotool mousemove --window %lu %d %d sleep 0.12 mousedown %d mouseup %d "
                  "sleep 0.03 %s",
                  window_, x, y, button, button, parkCommand().c_str());
    runCommand(cmd);
}

void AppUnderTest::drag(int x1, int y1, int x2, int y2, int button) {
    char cmd[400];
    std::snprintf(cmd, sizeof cmd,
                  "xdotool mousemove --window %lu %d %d sleep 0.12 mousedown %d sleep 0.15 "
                  "mousemove --window %lu %d %d sleep 0.15 mousemove --window %lu %d %d sleep 0.15 "
                  "mouseup %d sleep 0.03 %s",
                  window_, x1, y1, button, window_, (x1 + x2) / 2, (y1 + y2) / 2, window_, x2, y2,
                  button, parkCommand().c_str());
    runCommand(cmd);
}

std::string AppUnderTest::parkCommand() const {
    return "mousemove " + std::to_string(originX_ + kParkX) + " " +
           std::to_string(originY_ + kParkY);
}

void AppUnderTest::key(const std::string& name) {
    // Keys go to the window under the pointer: there is no window manager.
    runCommand("xdotool mousemove --window " + std::to_string(window_) + " " +
               std::to_string(kParkX) + " " + std::to_string(kParkY) + " sleep 0.03 key " + name);
}

void AppUnderTest::keys(const std::string& names, int delayMs) {
    runCommand("xdotool mousemove --window " + std::to_string(window_) + " " +
               std::to_string(kParkX) + " " + std::to_string(kParkY) + " sleep 0.03 key --delay " +
               std::to_string(delayMs) + " " + names);
}

void AppUnderTest::taps(const std::vector<std::pair<int, int>>& points, int gapMs) {
    std::string cmd = "xdotool";
    for (const auto& [x, y] : points) {
        cmd += " mousemove --window " + std::to_string(window_) + " " + std::to_string(x) + " " +
               std::to_string(y) + " mousedown 1 mouseup 1";
        if (gapMs > 0) cmd += " sleep " + std::to_string(gapMs / 1000.0);
    }
    runCommand(cmd + " sleep 0.03 " + parkCommand());
}

Shot AppUnderTest::grab() const {
    Display* dpy = display();
    Shot shot;
    shot.width = kWidth;
    shot.height = kHeight;
    XWindowAttributes attr;
    if (!XGetWindowAttributes(dpy, window_, &attr)) throw std::runtime_error("window gone");
    XImage* image = XGetImage(dpy, window_, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (image == nullptr) throw std::runtime_error("XGetImage failed");
    shot.pixels.resize(kWidth * kHeight);
    Visual* v = attr.visual;
    if (v->c_class == TrueColor || v->c_class == DirectColor) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                shot.pixels[y * kWidth + x] = {maskTo8(p, v->red_mask), maskTo8(p, v->green_mask),
                                               maskTo8(p, v->blue_mask)};
            }
    } else {
        // Paletted screen: look each index up in the window's colormap.
        std::map<unsigned long, Rgb> colours;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) colours[XGetPixel(image, x, y)] = {};
        for (auto& [pixel, rgb] : colours) {
            XColor c;
            c.pixel = pixel;
            XQueryColor(dpy, attr.colormap, &c);
            rgb = {c.red >> 8, c.green >> 8, c.blue >> 8};
        }
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                shot.pixels[y * kWidth + x] = colours[XGetPixel(image, x, y)];
    }
    XDestroyImage(image);
    return shot;
}

bool AppUnderTest::waitUntil(const std::function<bool(const Shot&)>& ok, double seconds,
                             Shot* last) const {
    double end = nowMs() + seconds * 1000;
    for (;;) {
        Shot shot = grab();
        bool good = ok(shot);
        if (last) *last = shot;
        if (good) return true;
        if (nowMs() > end) return false;
        sleepMs(20);
    }
}
