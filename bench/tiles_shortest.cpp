// The shortest search as the programs run it, on positions from standard
// input: one a line, 16 numbers row by row, 0 for the gap (goal 1 2 ... 15 0).
// Prints per position its length, the tiles moved and the search's
// milliseconds; on standard error the tables' build time and the peak
// memory. With --korf, reads Korf's lines instead (number, 16 cells with his
// goal 0 1 ... 15, published length), turns each to our goal and also checks
// the length against the published one.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tiles/shortest.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Korf's goal has the gap top left; a half turn and the relabelling
// 16 - tile bring it to ours without changing any length.
Position fromKorf(const int* korf) {
    Position ours{};
    for (int p = 0; p < 16; ++p) {
        ours[15 - p] = static_cast<std::uint8_t>(korf[p] == 0 ? 0 : 16 - korf[p]);
    }
    return ours;
}

// The thread's own processor time: a busy machine that takes the processor
// away between two calls must not count as work.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The longest stretch of work between two calls of the watcher: where the
// browser could give its thread back no more often than that.
class StretchWatcher : public SearchWatcher {
public:
    void buildingTables() override { tick(); }
    void boundPassed(int) override { tick(); }
    void stillSearching() override { tick(); }
    void restart() { last = threadMilliseconds(); }
    double longest = 0;

private:
    void tick() {
        const double now = threadMilliseconds();
        longest = std::max(longest, now - last);
        last = now;
    }
    double last = threadMilliseconds();
};

// Total, median, 90th percentile and longest of the searches' times.
void summarise(const char* what, std::vector<double> times) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times) total += t;
    const std::size_t n = times.size();
    const double median = (times[(n - 1) / 2] + times[n / 2]) / 2;
    const double ninetieth = times[std::min(n - 1, (n * 9 + 9) / 10 - 1)];
    std::fprintf(stderr,
                 "%zu searches, %s: total %.0f ms, median %.1f ms, 90th percentile %.1f ms, "
                 "longest %.1f ms\n",
                 n, what, total, median, ninetieth, times.back());
}

}  // namespace

int main(int argc, char** argv) {
    const bool korf = argc > 1 && std::strcmp(argv[1], "--korf") == 0;
    if (argc > 2 || (argc == 2 && !korf)) {
        std::cerr << "usage: tiles_shortest [--korf] < positions\n";
        return 2;
    }

    StretchWatcher buildWatcher;
    const Clock::time_point buildStart = Clock::now();
    const double buildProcessorStart = threadMilliseconds();
    ShortestTables::shared().prepare(&buildWatcher);
    std::fprintf(stderr, "tables built in %.1f ms (processor time %.1f ms)\n",
                 millisecondsSince(buildStart), threadMilliseconds() - buildProcessorStart);
    StretchWatcher searchWatcher;

    int status = 0;
    std::vector<double> wallTimes;
    std::vector<double> processorTimes;
    std::string line;
    for (int lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;

        std::istringstream in(line);
        std::vector<long> numbers;
        std::string word;
        bool malformed = false;
        while (in >> word) {
            char* end = nullptr;
            const long value = std::strtol(word.c_str(), &end, 10);
            if (*end != '\0' || end == word.c_str()) malformed = true;
            numbers.push_back(value);
        }
        const std::size_t wanted = korf ? 18 : 16;
        if (malformed || numbers.size() != wanted) {
            std::fprintf(stderr, "line %d: expected %zu numbers, got \"%s\"\n", lineNumber, wanted,
                         line.c_str());
            status = 1;
            continue;
        }
        int cells[16];
        bool inRange = true;
        for (int i = 0; i < 16; ++i) {
            const long v = numbers[korf ? i + 1 : i];
            inRange = inRange && v >= 0 && v <= 15;
            cells[i] = static_cast<int>(v);
        }
        Position position{};
        for (int i = 0; i < 16 && inRange; ++i) position[i] = static_cast<std::uint8_t>(cells[i]);
        if (inRange && korf) position = fromKorf(cells);
        if (!inRange || !isSolvablePosition(position)) {
            std::fprintf(stderr,
                         "line %d: not a solvable position (each of 0..15 once, solvable parity)\n",
                         lineNumber);
            status = 1;
            continue;
        }

        const Clock::time_point start = Clock::now();
        const double processorStart = threadMilliseconds();
        searchWatcher.restart();
        const std::vector<std::uint8_t> moves = shortestSolution(position, &searchWatcher);
        const double ms = millisecondsSince(start);
        const double processorMs = threadMilliseconds() - processorStart;
        wallTimes.push_back(ms);
        processorTimes.push_back(processorMs);

        std::string tiles;
        for (std::uint8_t tile : moves) tiles += (tiles.empty() ? "" : " ") + std::to_string(tile);
        std::printf("%zu\t%s\t%.1f\n", moves.size(), tiles.empty() ? "-" : tiles.c_str(), ms);
        std::fflush(stdout);
        if (korf && static_cast<long>(moves.size()) != numbers[17]) {
            std::fprintf(stderr, "line %d: found %zu moves, published %ld\n", lineNumber,
                         moves.size(), numbers[17]);
            status = 1;
        }
    }

    // On a busy machine the processor time tells what the search itself cost.
    summarise("wall time", wallTimes);
    summarise("processor time", processorTimes);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak memory %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::fprintf(stderr,
                 "longest work between watcher calls: %.1f ms building, %.1f ms searching "
                 "(processor time)\n",
                 buildWatcher.longest, searchWatcher.longest);
    return status;
}
