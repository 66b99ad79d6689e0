#pragma once
// Stand-ins for the solver's view (tiles/solve_view.h), linked into every
// tiles test: nothing is drawn and nothing waits; redraws and pauses are
// counted, and a test may look at the board on every redraw.

#include <functional>

struct Board;

struct ViewLog {
    int redraws = 0;
    int pauses = 0;
    long long pausedMs = 0;
    // Called with the board on every redraw, after the count is taken.
    std::function<void(const Board&)> onRedraw;
};

// The log the stand-ins write to. Tests start from resetViewLog().
ViewLog& viewLog();
void resetViewLog();
