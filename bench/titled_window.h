#pragma once
// Starting a program and finding its window on the display, for the
// measuring programs that watch its pixels.

#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace bench {

constexpr char kWindowTitle[] = "Kalvorintu!";

// The window may go away or not be mapped yet between the check and the read;
// such errors only mean "not yet".
inline int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// The viewable window below `w` titled "Kalvorintu!", or 0.
inline Window findTitled(Display* dpy, Window w) {
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name != nullptr) {
        bool match = std::strcmp(name, kWindowTitle) == 0;
        XFree(name);
        XWindowAttributes attr;
        if (match && XGetWindowAttributes(dpy, w, &attr) && attr.map_state == IsViewable) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) found = findTitled(dpy, children[i]);
    if (children) XFree(children);
    return found;
}

// Starts `program` with its output thrown away; its process id.
inline pid_t startQuietly(const char* program) {
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

}  // namespace bench
