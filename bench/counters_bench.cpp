// The counters search over every placement of three whites, three blacks
// and one gap, and over the costliest single placement.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "counters/search.h"

namespace {

std::vector<Row> allPlacements() {
    std::array<std::int32_t, kRowLength> cells = {kEmptyCell,    kBlackCounter, kBlackCounter,
                                                  kBlackCounter, kWhiteCounter, kWhiteCounter,
                                                  kWhiteCounter};
    std::vector<Row> rows;
    do {
        Row row;
        std::copy(cells.begin(), cells.end(), row.cells);
        rows.push_back(row);
    } while (std::next_permutation(cells.begin(), cells.end()));
    return rows;
}

// One search as a new game runs it; returns how often searchSolution ran.
unsigned long searchOnce(const Row& row) {
    bestDepth = INT_MAX;
    searchDepth = 0;
    solutionStack.top = 0;
    searchSolutionCalls = 0;
    benchmark::DoNotOptimize(solveRow(&row));
    return searchSolutionCalls;
}

Row costliestPlacement(unsigned long* calls) {
    Row worst{};
    *calls = 0;
    for (const Row& row : allPlacements()) {
        const unsigned long n = searchOnce(row);
        if (n > *calls) {
            *calls = n;
            worst = row;
        }
    }
    return worst;
}

void BM_SearchAllPlacements(benchmark::State& state) {
    const std::vector<Row> rows = allPlacements();
    unsigned long total = 0;
    for (auto _ : state) {
        total = 0;
        for (const Row& row : rows) total += searchOnce(row);
    }
    state.counters["placements"] = double(rows.size());
    state.counters["calls_total"] = double(total);
}
BENCHMARK(BM_SearchAllPlacements)->Unit(benchmark::kMicrosecond);

void BM_SearchCostliestPlacement(benchmark::State& state) {
    unsigned long calls = 0;
    const Row worst = costliestPlacement(&calls);
    for (auto _ : state) searchOnce(worst);
    state.counters["calls"] = double(calls);
    state.counters["depth"] = double(bestDepth);
    char label[kRowLength + 1] = {};
    for (int i = 0; i < kRowLength; ++i) {
        label[i] = worst[i] == kBlackCounter ? 'B' : worst[i] == kWhiteCounter ? 'W' : '-';
    }
    state.SetLabel(label);
}
BENCHMARK(BM_SearchCostliestPlacement)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
