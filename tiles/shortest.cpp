#include "tiles/shortest.h"

#include <algorithm>

#include "tiles/pattern_lookup.h"

namespace {

// No 15-puzzle position needs more than 80 moves.
constexpr int kMaxMoves = 96;
// Nodes between two calls of the watcher: about a millisecond of work.
constexpr unsigned kNodesBetweenCalls = 1u << 12;

// Iterative deepening A*: depth-first under a bound on moves made plus the
// tables' promise, the bound raised to the least that was cut off. The
// promise is kept per lookup and updated for the one tile that moved, so a
// node costs two table reads.
class Search {
public:
    Search(const ShortestTables& tables, const Position& position, SearchWatcher* watcher)
        : watcher(watcher) {
        for (int cell = 0; cell < 16; ++cell) {
            cells[cell] = position[cell];
            cellOf[position[cell]] = static_cast<std::uint8_t>(cell);
        }
        for (int l = 0; l < kLookupCount; ++l) {
            const PatternLookup& p = kPatternLookups[l];
            const PatternLayout& layout = tables.layoutFor(l);
            Lookup& lookup = lookups[l];
            lookup.table = tables.tableFor(l);
            lookup.setOfMask = layout.setOfMask.data();
            lookup.firstBlock = layout.firstBlock.data();
            lookup.regionOf = layout.regionOf.data();
            lookup.orders = layout.orders;
            lookup.seenAt = p.seenAt;
            promise[l] = *entryOf(l);
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
            // Never for a solvable position (none needs more than 80).
            if (bound >= kMaxMoves) return {};
        }
    }

private:
    // One term of a sum: its table and how the table is laid out.
    struct Lookup {
        const std::uint8_t* table;
        const std::uint16_t* setOfMask;
        const std::uint32_t* firstBlock;
        const std::uint64_t* regionOf;
        const std::uint8_t* seenAt;
        int orders;

        int blockOf(unsigned covered, int gapCell) const {
            const int set = setOfMask[covered];
            const int seenGap = seenAt[gapCell];
            return int(firstBlock[set]) + int((regionOf[set] >> (4 * seenGap)) & 15);
        }
    };

    // The lookup's entry for the tiles and the gap where cellOf has them.
    template <int size>
    const std::uint8_t* entryOf(int l) const {
        const PatternLookup& p = kPatternLookups[l];
        const Lookup& lookup = lookups[l];
        std::uint8_t seen[size];
        unsigned covered = 0;
        for (int i = 0; i < size; ++i) {
            seen[i] = p.seenAt[cellOf[p.tiles[i]]];
            covered |= 1u << seen[i];
        }
        return lookup.table + std::size_t(lookup.blockOf(covered, cellOf[0])) * lookup.orders +
               orderIndex<size>(seen);
    }

    const std::uint8_t* entryOf(int l) const {
        return kPatternLookups[l].size == kLargePatternSize ? entryOf<kLargePatternSize>(l)
                                                            : entryOf<kSmallPatternSize>(l);
    }

    struct Child {
        int from;
        int tile;
        const std::uint8_t* plainEntry;
        const std::uint8_t* reflectedEntry;
        int plainSum;
        int reflectedSum;
        int estimate;
    };

    // Tries every move of a tile into the gap but the one that undoes the
    // last; true once the goal is reached within the bound. The children's
    // entries are found first and fetched together: the large table is far
    // bigger than the cache, and waiting for its reads one at a time costs
    // more than all the rest of a node.
    bool extend(int made, int gap, int previousGap) {
        if (watcher && ++nodes % kNodesBetweenCalls == 0) watcher->stillSearching();
        Child children[4];
        int count = 0;
        for (int k = 0; k < kNeighbourCount[gap]; ++k) {
            const int from = kNeighbours[gap][k];
            if (from == previousGap) continue;
            Child& child = children[count++];
            child.from = from;
            child.tile = cells[from];
            // Looked up as if moved, then put back.
            cellOf[child.tile] = static_cast<std::uint8_t>(gap);
            cellOf[0] = static_cast<std::uint8_t>(from);
            child.plainEntry = entryOf(kPlainLookupOf[child.tile]);
            child.reflectedEntry = entryOf(kReflectedLookupOf[child.tile]);
            prefetch(child.plainEntry);
            prefetch(child.reflectedEntry);
            cellOf[child.tile] = static_cast<std::uint8_t>(from);
        }
        cellOf[0] = static_cast<std::uint8_t>(gap);

        // Children nearer the goal first: the last bound ends at the first
        // solution, and is found sooner down the promising moves.
        int order[4];
        for (int k = 0; k < count; ++k) {
            Child& child = children[k];
            child.plainSum = sum[0] + *child.plainEntry - promise[kPlainLookupOf[child.tile]];
            child.reflectedSum =
                sum[1] + *child.reflectedEntry - promise[kReflectedLookupOf[child.tile]];
            child.estimate = std::max(child.plainSum, child.reflectedSum);
            int at = k;
            while (at > 0 && children[order[at - 1]].estimate > child.estimate) {
                order[at] = order[at - 1];
                --at;
            }
            order[at] = k;
        }

        for (int k = 0; k < count; ++k) {
            const Child& child = children[order[k]];
            const int plain = kPlainLookupOf[child.tile];
            const int reflected = kReflectedLookupOf[child.tile];
            const int plainSum = child.plainSum;
            const int reflectedSum = child.reflectedSum;
            const int estimate = child.estimate;
            const int total = made + 1 + estimate;
            if (total > bound) {
                if (total < nextBound) nextBound = total;
                continue;
            }
            path[made] = static_cast<std::uint8_t>(child.tile);
            if (estimate == 0) return true;

            const int oldPlain = promise[plain];
            const int oldReflected = promise[reflected];
            promise[plain] = *child.plainEntry;
            promise[reflected] = *child.reflectedEntry;
            sum[0] = plainSum;
            sum[1] = reflectedSum;
            moveInto(gap, child.from);
            if (extend(made + 1, child.from, gap)) return true;
            moveInto(child.from, gap);
            promise[plain] = oldPlain;
            promise[reflected] = oldReflected;
            sum[0] += oldPlain - *child.plainEntry;
            sum[1] += oldReflected - *child.reflectedEntry;
        }
        return false;
    }

    // The tile in `from` slides into the gap in `gap`.
    void moveInto(int gap, int from) {
        const std::uint8_t tile = cells[from];
        cells[gap] = tile;
        cells[from] = 0;
        cellOf[tile] = static_cast<std::uint8_t>(gap);
        cellOf[0] = static_cast<std::uint8_t>(from);
    }

    static void prefetch(const std::uint8_t* entry) {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(entry);
#else
        (void)entry;
#endif
    }

    SearchWatcher* watcher;
    Lookup lookups[kLookupCount];
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
