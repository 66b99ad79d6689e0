#pragma once
// What the stand-in drawScreen/pauseFor saw, in call order.

#include <string>
#include <vector>

struct ViewLog {
    std::vector<std::string> events;  // "draw <row>" or "pause <ms>"
    void clear() { events.clear(); }
};

extern ViewLog viewLog;
