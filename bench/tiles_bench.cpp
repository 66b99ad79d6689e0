// Cost of the solver's computing between two moves. The window pauses 500 ms
// after every move; the computing in between should stay far below 1 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "tiles/board.h"
#include "tiles/shortest.h"
#include "tiles/solve_view.h"

namespace {

int redrawCount = 0;

// Positions written row by row from the top, 0 for the blank.
Board boardOf(const int (&rows)[4][4]) {
    Board board{};
    board.reset();
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col)
            board.cells[cellIndex(col, row)] = rows[row][col];
    }
    return board;
}

// The costliest single calls found by trying every tile cell, goal and blank
// cell on an unlocked board: with nothing locked the route search explores
// the most routes, and a far blank adds a full search of its own.
struct StepCase {
    const char* name;
    int rows[4][4];
    int tile, goalCol, goalRow;
};

// clang-format off
const StepCase kStepCases[] = {
    {"tile(3,3)->(0,0),blank(3,0)",
     {{1, 2, 3, 0}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}}, 15, 0, 0},
    {"tile(1,0)->(0,0),blank(2,0)",
     {{1, 15, 0, 2}, {3, 4, 5, 6}, {7, 8, 9, 10}, {11, 12, 13, 14}}, 15, 0, 0},
    {"tile(3,0)->(0,3),blank(1,0)",
     {{1, 0, 2, 15}, {3, 4, 5, 6}, {7, 8, 9, 10}, {11, 12, 13, 14}}, 15, 0, 3},
};
// clang-format on

void stepTileTowardWorst(benchmark::State& state) {
    const StepCase& c = kStepCases[state.range(0)];
    const Board start = boardOf(c.rows);
    state.SetLabel(c.name);
    for (auto _ : state) {
        Board board = start;  // a 100-byte copy, so every call sees the same position
        benchmark::DoNotOptimize(board.stepTileToward(c.tile, c.goalCol, c.goalRow));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(stepTileTowardWorst)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void pathLengthAcrossEmptyBoard(benchmark::State& state) {
    Board board = boardOf({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 0}});
    for (auto _ : state) benchmark::DoNotOptimize(board.pathLength(0, 0, 3, 3));
}
BENCHMARK(pathLengthAcrossEmptyBoard)->Unit(benchmark::kMicrosecond);

struct SolveCase {
    const char* name;
    int rows[4][4];
};

const SolveCase kSolveCases[] = {
    {"solved", {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 0}}},
    {"pocket-at-8", {{1, 2, 3, 4}, {5, 6, 7, 8}, {0, 13, 10, 11}, {9, 15, 14, 12}}},
    {"gives-up-at-17", {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 0, 12, 11}, {13, 14, 10, 15}}},
    // The longest solve among 50000 random solvable positions.
    {"long", {{11, 12, 14, 9}, {4, 15, 5, 2}, {13, 8, 1, 0}, {3, 7, 10, 6}}},
};

// Whole solves without pauses. "per_pass" is the mean computing time between
// two redraws.
void solveWithoutPauses(benchmark::State& state) {
    const SolveCase& c = kSolveCases[state.range(0)];
    const Board start = boardOf(c.rows);
    state.SetLabel(c.name);
    int passes = 0;
    for (auto _ : state) {
        Board board = start;
        redrawCount = 0;
        GameState = Solving;
        board.solve();
        passes = redrawCount;
        benchmark::DoNotOptimize(board.cells);
    }
    state.counters["passes"] = passes;
    state.counters["per_pass"] = benchmark::Counter(
        passes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(solveWithoutPauses)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The shortest search on two of Korf's instances (his 2nd, 55 moves, and his
// 9th, 46), turned to this goal; the tables are built before the timing.
// tiles_shortest runs all hundred.
const int kKorfCases[][16] = {
    {10, 5, 1, 0, 15, 9, 13, 14, 2, 8, 4, 7, 6, 12, 11, 3},
    {0, 1, 15, 6, 9, 10, 4, 3, 14, 8, 12, 11, 5, 7, 2, 13},
};

void shortestSolutionKorf(benchmark::State& state) {
    const int* cells = kKorfCases[state.range(0)];
    Position position{};
    for (int i = 0; i < 16; ++i) position[i] = static_cast<std::uint8_t>(cells[i]);
    ShortestTables::shared().prepare();
    std::size_t length = 0;
    for (auto _ : state) length = shortestSolution(position).size();
    state.counters["moves"] = double(length);
}
BENCHMARK(shortestSolutionKorf)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace

void drawScreen(const Board&) { ++redrawCount; }
void pauseFor(int) {}

BENCHMARK_MAIN();
