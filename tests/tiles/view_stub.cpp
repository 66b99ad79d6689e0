#include "tiles/view_stub.h"

#include "tiles/board.h"
#include "tiles/solve_view.h"

ViewLog& viewLog() {
    static ViewLog log;
    return log;
}

void resetViewLog() { viewLog() = ViewLog{}; }

void drawScreen(const Board& board) {
    ViewLog& log = viewLog();
    ++log.redraws;
    if (log.onRedraw) log.onRedraw(board);
}

void pauseFor(int ms) {
    ViewLog& log = viewLog();
    ++log.pauses;
    log.pausedMs += ms;
}
