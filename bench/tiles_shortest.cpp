// The shortest search as the programs run it, on positions from standard
// input: one a line, 16 numbers row by row, 0 for the gap (goal 1 2 ... 15 0).
// Prints per position its length, the tiles moved and the search's
// milliseconds; on standard error the tables' build time and the peak
// memory. With --korf, reads Korf's lines instead (number, 16 cells with his
// goal 0 1 ... 15, published length), turns each to our goal and also checks
// the length against the published one.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
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

}  // namespace

int main(int argc, char** argv) {
    const bool korf = argc > 1 && std::strcmp(argv[1], "--korf") == 0;
    if (argc > 2 || (argc == 2 && !korf)) {
        std::cerr << "usage: tiles_shortest [--korf] < positions\n";
        return 2;
    }

    const Clock::time_point buildStart = Clock::now();
    ShortestTables::shared().prepare();
    std::fprintf(stderr, "tables built in %.1f ms\n", millisecondsSince(buildStart));

    int status = 0;
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
        const std::vector<std::uint8_t> moves = shortestSolution(position);
        const double ms = millisecondsSince(start);

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

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak memory %.1f MB\n", usage.ru_maxrss / 1024.0);
    return status;
}
