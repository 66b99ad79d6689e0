#include <algorithm>
#include <memory>
#include <vector>

#include "tiles/pattern_lookup.h"
#include "tiles/shortest.h"

// clang-format off
namespace {

// Where a tile in each cell is seen: as it is, in the mirror between the
// left and right halves, reflected in the diagonal through the gap's home,
// and both.
const std::uint8_t kAsIs[16] =       { 0,  1,  2,  3,   4,  5,  6,  7,   8,  9, 10, 11,  12, 13, 14, 15};
const std::uint8_t kLeftRight[16] =  { 3,  2,  1,  0,   7,  6,  5,  4,  11, 10,  9,  8,  15, 14, 13, 12};
const std::uint8_t kDiagonal[16] =   { 0,  4,  8, 12,   1,  5,  9, 13,   2,  6, 10, 14,   3,  7, 11, 15};
const std::uint8_t kDiagonalLeftRight[16] =
                                     { 3,  7, 11, 15,   2,  6, 10, 14,   1,  5,  9, 13,   0,  4,  8, 12};

}  // namespace

const std::uint8_t kLargePatternGoal[kLargePatternSize] = {0, 1, 4, 5, 8, 9};
const std::uint8_t kSmallPatternGoal[kSmallPatternSize] = {12, 13, 14};

// The reflected sum reads the tile that the reflection turns into the
// pattern's tile: 2 and 5, 3 and 9, 4 and 13, 7 and 10, 8 and 14, 12 and 15
// change places; 1, 6, 11 stay.
const PatternLookup kPatternLookups[kLookupCount] = {
    // size  tiles                      seen at
    {6,     { 1,  2,  5,  6,  9, 10},  kAsIs},               // left half, as is
    {6,     { 4,  3,  8,  7, 12, 11},  kLeftRight},          // right half, mirrored
    {3,     {13, 14, 15},              kAsIs},               // bottom row
    {6,     { 1,  5,  2,  6,  3,  7},  kDiagonal},           // top half, reflected
    {6,     {13,  9, 14, 10, 15, 11},  kDiagonalLeftRight},  // bottom half, reflected, mirrored
    {3,     { 4,  8, 12},              kDiagonal},           // right column, reflected
};

//                                       _  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15
const std::uint8_t kPlainLookupOf[16] =     {0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 2, 2, 2};
const std::uint8_t kReflectedLookupOf[16] = {3, 3, 3, 3, 5, 3, 3, 3, 5, 4, 4, 4, 5, 4, 4, 4};

const std::uint8_t kNeighbourCount[16] = {2, 3, 3, 2,  3, 4, 4, 3,  3, 4, 4, 3,  2, 3, 3, 2};
const std::uint8_t kNeighbours[16][4] = {
    {1, 4},      {0, 2, 5},      {1, 3, 6},       {2, 7},
    {0, 5, 8},   {1, 4, 6, 9},   {2, 5, 7, 10},   {3, 6, 11},
    {4, 9, 12},  {5, 8, 10, 13}, {6, 9, 11, 14},  {7, 10, 15},
    {8, 13},     {9, 12, 14},    {10, 13, 15},    {11, 14},
};
// clang-format on

void PatternLayout::build(int patternSize, SearchWatcher* watcher) {
    size = patternSize;
    orders = 1;
    for (int i = 2; i <= size; ++i) orders *= i;
    setOfMask.assign(1 << 16, 0xFFFF);
    maskOfSet.clear();
    firstBlock.clear();
    regionOf.clear();
    blocks = 0;
    for (unsigned mask = 0; mask < (1u << 16); ++mask) {
        if (watcher && mask % 2048 == 0) watcher->buildingTables();
        if (__builtin_popcount(mask) != size) continue;
        setOfMask[mask] = static_cast<std::uint16_t>(maskOfSet.size());
        maskOfSet.push_back(static_cast<std::uint16_t>(mask));
        firstBlock.push_back(static_cast<std::uint32_t>(blocks));
        std::uint64_t labels = ~std::uint64_t{0};
        unsigned unlabelled = ~mask & 0xFFFF;
        for (int region = 0; unlabelled != 0; ++region, ++blocks) {
            unsigned reached = unlabelled & (0u - unlabelled);
            for (unsigned grown = 0; grown != reached;) {
                grown = reached;
                for (int cell = 0; cell < 16; ++cell) {
                    if (!(grown & (1u << cell))) continue;
                    for (int k = 0; k < kNeighbourCount[cell]; ++k) {
                        reached |= (1u << kNeighbours[cell][k]) & unlabelled;
                    }
                }
            }
            for (int cell = 0; cell < 16; ++cell) {
                if (!(reached & (1u << cell))) continue;
                labels &= ~(std::uint64_t{15} << (4 * cell));
                labels |= std::uint64_t(region) << (4 * cell);
            }
            unlabelled &= ~reached;
        }
        regionOf.push_back(labels);
    }
}

namespace {

// Work between two calls of the watcher, in entries tried: a few
// milliseconds at most.
constexpr long kWorkBetweenCalls = 1L << 18;

// For a tile that moves from the s-th lowest covered cell to what becomes
// the t-th lowest, the order the pattern's tiles have after the move, for
// every order before it: the other tiles keep their relative places.
template <int size>
std::vector<std::uint16_t> orderShifts(int orders) {
    std::vector<std::uint16_t> shifts(size * size * orders);
    std::uint8_t ranks[size];
    for (int i = 0; i < size; ++i) ranks[i] = static_cast<std::uint8_t>(i);
    do {
        const int before = orderIndex<size>(ranks);
        for (int s = 0; s < size; ++s) {
            for (int t = 0; t < size; ++t) {
                std::uint8_t after[size];
                for (int i = 0; i < size; ++i) {
                    int r = ranks[i];
                    if (r == s) {
                        r = t;
                    } else if (s < r && r <= t) {
                        --r;
                    } else if (t <= r && r < s) {
                        ++r;
                    }
                    after[i] = static_cast<std::uint8_t>(r);
                }
                shifts[(s * size + t) * orders + before] =
                    static_cast<std::uint16_t>(orderIndex<size>(after));
            }
        }
    } while (std::next_permutation(ranks, ranks + size));
    return shifts;
}

// Breadth-first from the pattern at its goal (the gap anywhere), counting
// only the pattern's moves: the other tiles are alike and move for free, so
// the gap goes anywhere in its region at no cost, and disjoint patterns add
// up. A move takes a pattern tile next to the gap's region into it and
// leaves the gap where the tile was; it maps a whole block to one other
// block, order to order, so the work goes block by block, for every order
// of the level at once.
template <int size>
void buildTable(const PatternLayout& layout, std::unique_ptr<std::uint8_t[]>& table,
                const std::uint8_t* goal, SearchWatcher* watcher) {
    const int orders = layout.orders;
    const std::vector<std::uint16_t> shifts = orderShifts<size>(orders);
    // Filled a slice at a time: first touching 12 MB is itself a stretch.
    const std::size_t entries = std::size_t(layout.blocks) * orders;
    table.reset(new std::uint8_t[entries]);
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    for (std::size_t at = 0; at < entries; at += kSlice) {
        if (watcher) watcher->buildingTables();
        std::fill(table.get() + at, table.get() + std::min(entries, at + kSlice), kNotReached);
    }
    std::vector<std::uint8_t> active(layout.blocks, 0);
    std::vector<std::uint8_t> nextActive(layout.blocks, 0);

    unsigned goalMask = 0;
    for (int i = 0; i < size; ++i) goalMask |= 1u << goal[i];
    const int goalSet = layout.setOfMask[goalMask];
    const int goalBlocks =
        (goalSet + 1 < int(layout.firstBlock.size()) ? int(layout.firstBlock[goalSet + 1])
                                                     : layout.blocks) -
        int(layout.firstBlock[goalSet]);
    for (int r = 0; r < goalBlocks; ++r) {
        const int block = layout.firstBlock[goalSet] + r;
        table[std::size_t(block) * orders + orderIndex<size>(goal)] = 0;
        active[block] = 1;
    }

    std::vector<std::uint16_t> frontier(orders);
    long work = 0;
    const int sets = int(layout.maskOfSet.size());
    for (int level = 0;; ++level) {
        bool reachedAny = false;
        for (int set = 0; set < sets; ++set) {
            const unsigned mask = layout.maskOfSet[set];
            const int regions = (set + 1 < sets ? int(layout.firstBlock[set + 1]) : layout.blocks) -
                                int(layout.firstBlock[set]);
            for (int region = 0; region < regions; ++region) {
                const int block = layout.firstBlock[set] + region;
                if (!active[block]) continue;
                const std::uint8_t* entries = &table[std::size_t(block) * orders];
                int count = 0;
                for (int order = 0; order < orders; ++order) {
                    if (entries[order] == level) frontier[count++] = std::uint16_t(order);
                }
                if (count == 0) continue;
                work += orders;
                int slot = 0;
                for (int from = 0; from < 16; ++from) {
                    if (!(mask & (1u << from))) continue;
                    for (int k = 0; k < kNeighbourCount[from]; ++k) {
                        const int to = kNeighbours[from][k];
                        if ((mask & (1u << to)) ||
                            int((layout.regionOf[set] >> (4 * to)) & 15) != region) {
                            continue;
                        }
                        const unsigned nextMask = mask ^ (1u << from) ^ (1u << to);
                        const int nextSet = layout.setOfMask[nextMask];
                        const int nextBlock = layout.block(nextSet, from);
                        const int nextSlot = __builtin_popcount(nextMask & ((1u << to) - 1));
                        std::uint8_t* targets = &table[std::size_t(nextBlock) * orders];
                        const std::uint16_t* shift = &shifts[(slot * size + nextSlot) * orders];
                        bool reached = false;
                        for (int i = 0; i < count; ++i) {
                            std::uint8_t& entry = targets[shift[frontier[i]]];
                            if (entry == kNotReached) {
                                entry = static_cast<std::uint8_t>(level + 1);
                                reached = true;
                            }
                        }
                        work += count;
                        if (reached) {
                            nextActive[nextBlock] = 1;
                            reachedAny = true;
                        }
                    }
                    ++slot;
                }
                if (watcher && work >= kWorkBetweenCalls) {
                    watcher->buildingTables();
                    work = 0;
                }
            }
        }
        if (!reachedAny) break;
        active.swap(nextActive);
        std::fill(nextActive.begin(), nextActive.end(), 0);
    }
}

}  // namespace

ShortestTables& ShortestTables::shared() {
    static ShortestTables tables;
    return tables;
}

void ShortestTables::prepare(SearchWatcher* watcher) {
    if (built) return;
    smallLayout.build(kSmallPatternSize, watcher);
    buildTable<kSmallPatternSize>(smallLayout, smallTable, kSmallPatternGoal, watcher);
    largeLayout.build(kLargePatternSize, watcher);
    buildTable<kLargePatternSize>(largeLayout, largeTable, kLargePatternGoal, watcher);
    built = true;
}

bool ShortestTables::ready() const { return built; }

const std::uint8_t* ShortestTables::tableFor(int lookup) const {
    return kPatternLookups[lookup].size == kLargePatternSize ? largeTable.get() : smallTable.get();
}

const PatternLayout& ShortestTables::layoutFor(int lookup) const {
    return kPatternLookups[lookup].size == kLargePatternSize ? largeLayout : smallLayout;
}

int ShortestTables::promise(int lookup, const std::uint8_t* cellOf) const {
    const PatternLookup& p = kPatternLookups[lookup];
    const PatternLayout& layout = layoutFor(lookup);
    std::uint8_t seen[kLargePatternSize];
    unsigned mask = 0;
    for (int i = 0; i < p.size; ++i) {
        seen[i] = p.seenAt[cellOf[p.tiles[i]]];
        mask |= 1u << seen[i];
    }
    const int block = layout.block(layout.setOfMask[mask], p.seenAt[cellOf[0]]);
    const int order = p.size == kLargePatternSize ? orderIndex<kLargePatternSize>(seen)
                                                  : orderIndex<kSmallPatternSize>(seen);
    return tableFor(lookup)[std::size_t(block) * layout.orders + order];
}

int ShortestTables::lowerBound(const Position& position) const {
    std::uint8_t cellOf[16] = {};
    for (int cell = 0; cell < 16; ++cell) cellOf[position[cell]] = static_cast<std::uint8_t>(cell);
    int sums[2] = {0, 0};
    for (int l = 0; l < kLookupCount; ++l) sums[l / kLookupsPerSum] += promise(l, cellOf);
    return std::max(sums[0], sums[1]);
}
