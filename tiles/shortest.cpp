#include "tiles/shortest.h"

#include <algorithm>

#include "tiles/pattern_lookup.h"

namespace {

// No 15-puzzle position needs more than 80 moves.
constexpr int kMaxMoves = 96;
// Nodes between two calls of the watcher: well under a millisecond.
constexpr unsigned kNodesBetweenCalls = 1u << 13;

// Iterative deepening A*: depth-first under a bound on moves made plus the
// tables' promise, the bound raised to the least that was cut off. The
// promise is kept per lookup and updated for the one tile that moved, so a
// node costs two table reads.
class Search {
public:
    Search(const ShortestTables& tables, const Position& position, SearchWatcher* watcher)
        : watcher(watcher) {
        for (int l = 0; l < kLookupCount; ++l) {
            table[l] = tables.tableFor(l);
            layouts[l] = &tables.layoutFor(l);
        }
        for (int cell = 0; cell < 16; ++cell) {
            cells[cell] = position[cell];
            cellOf[position[cell]] = static_cast<std::uint8_t>(cell);
        }
        for (int l = 0; l < kLookupCount; ++l) {
            promise[l] = lookup(l);
            sum[l / kLookupsPerSum] += promise[l];
        }
    }

    std::vector<std::uint8_t> run() {
        const int gap = cellOf[0];
        // Every move takes the gap to a cell of the other colour, so the
        // length has the parity of the gap's distance from home.
        const int parity = (3 - gap / 4 + 3 - gap % 4) % 2;
        int estimate = std::max(sum[0], sum[1]);
        if (estimate == 0) return {};
        bound = estimate + ((estimate + parity) % 2);
        for (;;) {
            if (watcher) watcher->boundPassed(bound);
            nextBound = 1000;
            if (extend(0, gap, -1)) return std::vector<std::uint8_t>(path, path + bound);
            bound = nextBound + ((nextBound + parity) % 2);
        }
    }

private:
    template <int size>
    int lookupOf(int l) const {
        const PatternLookup& p = kPatternLookups[l];
        std::uint8_t seen[size];
        unsigned mask = 0;
        for (int i = 0; i < size; ++i) {
            seen[i] = p.seenAt[cellOf[p.tiles[i]]];
            mask |= 1u << seen[i];
        }
        const PatternLayout& layout = *layouts[l];
        const int block = layout.block(layout.setOfMask[mask], p.seenAt[cellOf[0]]);
        return table[l][std::size_t(block) * layout.orders + orderIndex<size>(seen)];
    }

    int lookup(int l) const {
        return kPatternLookups[l].size == kLargePatternSize ? lookupOf<kLargePatternSize>(l)
                                                            : lookupOf<kSmallPatternSize>(l);
    }

    // Tries every move of a tile into the gap but the one that undoes the
    // last; true once the goal is reached within the bound.
    bool extend(int made, int gap, int previousGap) {
        if (watcher && ++nodes % kNodesBetweenCalls == 0) watcher->stillSearching();
        for (int k = 0; k < kNeighbourCount[gap]; ++k) {
            const int from = kNeighbours[gap][k];
            if (from == previousGap) continue;
            const int tile = cells[from];
            const int plain = kPlainLookupOf[tile];
            const int reflected = kReflectedLookupOf[tile];
            const int oldPlain = promise[plain];
            const int oldReflected = promise[reflected];

            cells[gap] = static_cast<std::uint8_t>(tile);
            cells[from] = 0;
            cellOf[tile] = static_cast<std::uint8_t>(gap);
            cellOf[0] = static_cast<std::uint8_t>(from);
            promise[plain] = lookup(plain);
            promise[reflected] = lookup(reflected);
            sum[0] += promise[plain] - oldPlain;
            sum[1] += promise[reflected] - oldReflected;

            const int estimate = std::max(sum[0], sum[1]);
            const int total = made + 1 + estimate;
            if (total <= bound) {
                path[made] = static_cast<std::uint8_t>(tile);
                if (estimate == 0 || extend(made + 1, from, gap)) return true;
            } else if (total < nextBound) {
                nextBound = total;
            }

            sum[0] -= promise[plain] - oldPlain;
            sum[1] -= promise[reflected] - oldReflected;
            promise[plain] = oldPlain;
            promise[reflected] = oldReflected;
            cellOf[tile] = static_cast<std::uint8_t>(from);
            cellOf[0] = static_cast<std::uint8_t>(gap);
            cells[from] = static_cast<std::uint8_t>(tile);
            cells[gap] = 0;
        }
        return false;
    }

    SearchWatcher* watcher;
    const std::uint8_t* table[kLookupCount];
    const PatternLayout* layouts[kLookupCount];
    std::uint8_t cells[16];
    std::uint8_t cellOf[16];
    int promise[kLookupCount];
    int sum[2] = {0, 0};
    int bound = 0;
    int nextBound = 0;
    unsigned nodes = 0;
    std::uint8_t path[kMaxMoves];
};

}  // namespace

std::vector<std::uint8_t> shortestSolution(const Position& position, SearchWatcher* watcher) {
    ShortestTables& tables = ShortestTables::shared();
    tables.prepare(watcher);
    if (!isSolvablePosition(position)) return {};
    return Search(tables, position, watcher).run();
}
