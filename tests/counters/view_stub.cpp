// Stand-ins for the window side of the playback seam.

#include "counters/solve_view.h"
#include "row_text.h"
#include "view_log.h"

ViewLog viewLog;

void drawScreen(const Row& row) { viewLog.events.push_back("draw " + textOf(row)); }

void pauseFor(int ms) { viewLog.events.push_back("pause " + std::to_string(ms)); }
