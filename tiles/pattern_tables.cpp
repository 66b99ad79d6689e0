#include <algorithm>
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

namespace {

// Work between two calls of the watcher: a few milliseconds at most.
constexpr unsigned kStatesBetweenCalls = 1u << 15;

// Breadth-first from the pattern at its goal, over the pattern's tiles
// alone: a tile steps into any neighbouring cell no other pattern tile
// holds. That the gap must be there first is ignored, so the distance is
// never more than the true one, and the other tiles' moves are free, so
// disjoint patterns add up. The queue holds the cells themselves, a nibble
// each, so that a state is never decoded from its index.
template <int size>
void buildTable(std::vector<std::uint8_t>& table, const std::uint8_t* goal,
                SearchWatcher* watcher) {
    int count = 1;
    for (int i = 0; i < size; ++i) count *= 16 - i;
    table.assign(count, kNotReached);
    std::vector<std::uint32_t> queue;
    queue.reserve(count);

    std::uint32_t packed = 0;
    for (int i = 0; i < size; ++i) packed |= std::uint32_t(goal[i]) << (4 * i);
    table[patternIndex<size>(goal)] = 0;
    queue.push_back(packed);

    for (std::size_t head = 0; head < queue.size(); ++head) {
        if (watcher && head % kStatesBetweenCalls == 0) watcher->buildingTables();
        std::uint8_t cells[size];
        unsigned taken = 0;
        for (int i = 0; i < size; ++i) {
            cells[i] = (queue[head] >> (4 * i)) & 15;
            taken |= 1u << cells[i];
        }
        const std::uint8_t next = table[patternIndex<size>(cells)] + 1;
        for (int i = 0; i < size; ++i) {
            const std::uint8_t from = cells[i];
            for (int k = 0; k < kNeighbourCount[from]; ++k) {
                const std::uint8_t to = kNeighbours[from][k];
                if (taken & (1u << to)) continue;
                cells[i] = to;
                std::uint8_t& entry = table[patternIndex<size>(cells)];
                if (entry == kNotReached) {
                    entry = next;
                    queue.push_back((queue[head] & ~(15u << (4 * i))) |
                                    (std::uint32_t(to) << (4 * i)));
                }
            }
            cells[i] = from;
        }
    }
}

}  // namespace

ShortestTables& ShortestTables::shared() {
    static ShortestTables tables;
    return tables;
}

void ShortestTables::prepare(SearchWatcher* watcher) {
    if (built) return;
    buildTable<kSmallPatternSize>(smallTable, kSmallPatternGoal, watcher);
    buildTable<kLargePatternSize>(largeTable, kLargePatternGoal, watcher);
    built = true;
}

bool ShortestTables::ready() const { return built; }

const std::uint8_t* ShortestTables::tableFor(int lookup) const {
    return kPatternLookups[lookup].size == kLargePatternSize ? largeTable.data()
                                                             : smallTable.data();
}

int ShortestTables::lowerBound(const Position& position) const {
    std::uint8_t cellOf[16] = {};
    for (int cell = 0; cell < 16; ++cell) cellOf[position[cell]] = static_cast<std::uint8_t>(cell);
    int sums[2] = {0, 0};
    for (int l = 0; l < kLookupCount; ++l) {
        const PatternLookup& lookup = kPatternLookups[l];
        std::uint8_t seen[kLargePatternSize];
        for (int i = 0; i < lookup.size; ++i) seen[i] = lookup.seenAt[cellOf[lookup.tiles[i]]];
        const int index = lookup.size == kLargePatternSize ? patternIndex<kLargePatternSize>(seen)
                                                           : patternIndex<kSmallPatternSize>(seen);
        sums[l / kLookupsPerSum] += tableFor(l)[index];
    }
    return std::max(sums[0], sums[1]);
}
