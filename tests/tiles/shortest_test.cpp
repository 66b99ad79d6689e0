#include "tiles/shortest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <unordered_map>
#include <vector>

#include "tiles/board.h"
#include "tiles/pattern_lookup.h"
#include "tiles/position_text.h"

namespace {

const Position kGoal = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};

std::uint64_t packed(const Position& p) {
    std::uint64_t key = 0;
    for (int i = 0; i < 16; ++i) key |= std::uint64_t(p[i]) << (4 * i);
    return key;
}

int gapOf(const Position& p) { return int(std::find(p.begin(), p.end(), 0) - p.begin()); }

std::vector<int> neighbours(int cell) {
    std::vector<int> out;
    if (cell >= 4) out.push_back(cell - 4);
    if (cell < 12) out.push_back(cell + 4);
    if (cell % 4 > 0) out.push_back(cell - 1);
    if (cell % 4 < 3) out.push_back(cell + 1);
    return out;
}

// Every position within `depth` moves of the goal, with its distance, by a
// plain breadth-first search over whole positions.
struct Near {
    std::vector<Position> positions;
    std::unordered_map<std::uint64_t, int> distance;
};

const Near& nearGoal() {
    static const Near near = [] {
        Near n;
        n.positions.push_back(kGoal);
        n.distance[packed(kGoal)] = 0;
        for (std::size_t head = 0; head < n.positions.size(); ++head) {
            const Position p = n.positions[head];
            const int d = n.distance[packed(p)];
            if (d == 14) continue;
            const int gap = gapOf(p);
            for (int from : neighbours(gap)) {
                Position q = p;
                std::swap(q[gap], q[from]);
                if (n.distance.emplace(packed(q), d + 1).second) n.positions.push_back(q);
            }
        }
        return n;
    }();
    return near;
}

ShortestTables& tables() {
    ShortestTables& t = ShortestTables::shared();
    t.prepare();
    return t;
}

// Slides the named tiles one by one; false as soon as one is not beside
// the gap.
bool play(Position& p, const std::vector<std::uint8_t>& tiles) {
    for (std::uint8_t tile : tiles) {
        const int gap = gapOf(p);
        const int at = int(std::find(p.begin(), p.end(), tile) - p.begin());
        const std::vector<int> next = neighbours(gap);
        if (tile == 0 || std::find(next.begin(), next.end(), at) == next.end()) return false;
        std::swap(p[gap], p[at]);
    }
    return true;
}

Position randomSolvable(std::mt19937& rng) {
    Position p = kGoal;
    do std::shuffle(p.begin(), p.end(), rng);
    while (!isSolvablePosition(p));
    return p;
}

TEST(ShortestSolution, MatchesBreadthFirstSearchNearTheGoal) {
    const Near& near = nearGoal();
    std::mt19937 rng(29);
    std::vector<Position> sample(near.positions.begin(), near.positions.begin() + 200);
    for (int n = 0; n < 300; ++n) {
        sample.push_back(near.positions[rng() % near.positions.size()]);
    }
    for (const Position& start : sample) {
        const std::vector<std::uint8_t> moves = shortestSolution(start);
        ASSERT_EQ(int(moves.size()), near.distance.at(packed(start))) << packed(start);
        Position p = start;
        ASSERT_TRUE(play(p, moves)) << packed(start);
        EXPECT_EQ(p, kGoal) << packed(start);
    }
}

TEST(ShortestSolution, SolvesAKorfInstanceInItsPublishedLength) {
    // Korf's second instance turned to this goal; 55 moves.
    const int korf[16] = {13, 5, 4, 10, 9, 12, 8, 14, 2, 3, 7, 1, 0, 15, 11, 6};
    Position start{};
    for (int p = 0; p < 16; ++p) start[15 - p] = std::uint8_t(korf[p] == 0 ? 0 : 16 - korf[p]);
    const std::vector<std::uint8_t> moves = shortestSolution(start);
    EXPECT_EQ(moves.size(), 55u);
    Position p = start;
    ASSERT_TRUE(play(p, moves));
    EXPECT_EQ(p, kGoal);
}

TEST(ShortestSolution, TellsTheWatcherEachBoundOnce) {
    struct Bounds : SearchWatcher {
        std::vector<int> passed;
        void boundPassed(int moves) override { passed.push_back(moves); }
    } watcher;
    const Near& near = nearGoal();
    const Position start = near.positions.back();  // 14 moves away
    const std::vector<std::uint8_t> moves = shortestSolution(start, &watcher);
    ASSERT_FALSE(watcher.passed.empty());
    EXPECT_TRUE(std::is_sorted(watcher.passed.begin(), watcher.passed.end()));
    EXPECT_EQ(std::adjacent_find(watcher.passed.begin(), watcher.passed.end()),
              watcher.passed.end());
    EXPECT_EQ(watcher.passed.back(), int(moves.size()));
    EXPECT_TRUE(shortestSolution(kGoal, &watcher).empty());
}

TEST(ShortestTables, NeverPromiseMoreThanTheDistanceNearTheGoal) {
    const Near& near = nearGoal();
    const ShortestTables& t = tables();
    EXPECT_EQ(t.lowerBound(kGoal), 0);
    int exact = 0;
    for (const Position& p : near.positions) {
        const int d = near.distance.at(packed(p));
        ASSERT_LE(t.lowerBound(p), d) << packed(p);
        exact += t.lowerBound(p) == d;
    }
    // Tables that promised nothing would pass the check above.
    EXPECT_GT(exact, int(near.positions.size()) / 2);
}

// A move changes at most one term of each sum, by one at most: that makes
// the sums consistent, and with the goal at 0 they can never overestimate,
// anywhere. Every term also counts at least each of its tiles' distances.
TEST(ShortestTables, EachMoveChangesOneTermOfEachSumByOneAtMost) {
    const ShortestTables& t = tables();
    std::mt19937 rng(1985);
    for (int n = 0; n < 2000; ++n) {
        const Position p = randomSolvable(rng);
        std::uint8_t cellOf[16];
        for (int c = 0; c < 16; ++c) cellOf[p[c]] = std::uint8_t(c);
        int manhattan = 0;
        for (int tile = 1; tile < 16; ++tile) {
            manhattan += std::abs(cellOf[tile] / 4 - (tile - 1) / 4) +
                         std::abs(cellOf[tile] % 4 - (tile - 1) % 4);
        }
        int sums[2] = {0, 0};
        for (int l = 0; l < kLookupCount; ++l) sums[l / kLookupsPerSum] += t.promise(l, cellOf);
        ASSERT_GE(sums[0], manhattan);
        ASSERT_GE(sums[1], manhattan);
        ASSERT_EQ((sums[0] - manhattan) % 2, 0);

        const int gap = cellOf[0];
        for (int from : neighbours(gap)) {
            const int tile = p[from];
            std::uint8_t after[16];
            std::copy(cellOf, cellOf + 16, after);
            after[tile] = std::uint8_t(gap);
            after[0] = std::uint8_t(from);
            for (int l = 0; l < kLookupCount; ++l) {
                const int change = t.promise(l, after) - t.promise(l, cellOf);
                const PatternLookup& lookup = kPatternLookups[l];
                const bool reads = std::count(lookup.tiles, lookup.tiles + lookup.size, tile) > 0;
                ASSERT_LE(std::abs(change), reads ? 1 : 0) << "lookup " << l << " tile " << tile;
            }
        }
    }
}

// The bottom row's table entry by entry against a search over the three
// tiles and the gap, with moves of the other tiles free.
TEST(ShortestTables, SmallTableIsTheExactDistanceOfItsTilesAndTheGap) {
    const ShortestTables& t = tables();
    auto key = [](int a, int b, int c, int gap) { return ((a * 16 + b) * 16 + c) * 16 + gap; };
    std::vector<int> dist(1 << 16, -1);
    std::deque<int> queue;
    for (int gap = 0; gap < 16; ++gap) {
        if (gap >= 12 && gap <= 14) continue;
        dist[key(12, 13, 14, gap)] = 0;
        queue.push_back(key(12, 13, 14, gap));
    }
    while (!queue.empty()) {
        const int k = queue.front();
        queue.pop_front();
        int cells[3] = {(k >> 12) & 15, (k >> 8) & 15, (k >> 4) & 15};
        const int gap = k & 15;
        for (int to : neighbours(gap)) {
            int moved[3] = {cells[0], cells[1], cells[2]};
            int cost = 0;
            for (int& c : moved) {
                if (c == to) {
                    c = gap;
                    cost = 1;
                }
            }
            const int next = key(moved[0], moved[1], moved[2], to);
            if (dist[next] >= 0 && dist[next] <= dist[k] + cost) continue;
            dist[next] = dist[k] + cost;
            if (cost == 0) {
                queue.push_front(next);
            } else {
                queue.push_back(next);
            }
        }
    }
    int checked = 0;
    for (int k = 0; k < (1 << 16); ++k) {
        if (dist[k] < 0) continue;
        std::uint8_t cellOf[16] = {};
        cellOf[13] = std::uint8_t((k >> 12) & 15);
        cellOf[14] = std::uint8_t((k >> 8) & 15);
        cellOf[15] = std::uint8_t((k >> 4) & 15);
        cellOf[0] = std::uint8_t(k & 15);
        ASSERT_EQ(t.promise(2, cellOf), dist[k]) << std::hex << k;
        ++checked;
    }
    EXPECT_EQ(checked, 16 * 15 * 14 * 13);
}

TEST(ShortestSolution, ReadsTheBoardInReadingOrderAndTestsParityAsTheBoardDoes) {
    const Board board = boardFrom("5 1 2 3/_ 6 7 4/9 10 11 8/13 14 15 12");
    const Position expected = {5, 1, 2, 3, 0, 6, 7, 4, 9, 10, 11, 8, 13, 14, 15, 12};
    EXPECT_EQ(positionOf(board), expected);

    std::mt19937 rng(4);
    for (int n = 0; n < 2000; ++n) {
        Position p = kGoal;
        std::shuffle(p.begin(), p.end(), rng);
        Board b{};
        b.reset();
        for (int i = 0; i < 16; ++i) b.cells[cellIndex(i % 4, i / 4)] = p[i];
        ASSERT_EQ(isSolvablePosition(p), b.isSolvable()) << textOf(b);
    }
    Position twice = kGoal;
    twice[0] = 2;
    EXPECT_FALSE(isSolvablePosition(twice));
}

}  // namespace
