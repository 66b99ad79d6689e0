#pragma once
// How a position is read in the pattern databases: which tiles each lookup
// takes, where it sees them, and the index of their cells in a table. Shared
// by the tables' build and by the search, so that both rank cells alike.
//
// Cells are numbered in reading order (row * 4 + col). The partition is six
// tiles of the left half of the top three rows, the six of the right half,
// and the three of the bottom row. The tables count only the pattern's own
// moves and ignore the gap, so the board's left-right symmetry makes the
// right half's table the left half's seen in a mirror: one six-tile table
// serves both. The second sum reads the position reflected in the diagonal
// through the gap's home, which gives another partition for free; the
// search takes the larger sum.

#include <cstdint>

constexpr int kLargePatternSize = 6;
constexpr int kSmallPatternSize = 3;
constexpr int kLargeTableSize = 16 * 15 * 14 * 13 * 12 * 11;
constexpr int kSmallTableSize = 16 * 15 * 14;
constexpr std::uint8_t kNotReached = 0xFF;

// One term of a sum: the tiles it reads, the cell each is seen in for a tile
// in a given cell, and whether it reads the large table. tiles[i] is seen
// where the table's pattern keeps its i-th tile.
struct PatternLookup {
    int size;
    std::uint8_t tiles[kLargePatternSize];
    const std::uint8_t* seenAt;  // 16 cells
};

constexpr int kLookupCount = 6;
constexpr int kLookupsPerSum = 3;
// Lookups 0..2 are the plain sum, 3..5 the reflected one.
extern const PatternLookup kPatternLookups[kLookupCount];
// For each tile 1..15, the lookup of the plain sum and of the reflected sum
// that reads it (index 0, the gap, unused).
extern const std::uint8_t kPlainLookupOf[16];
extern const std::uint8_t kReflectedLookupOf[16];
// The goal cells of the two tables' patterns, in the order of their tiles.
extern const std::uint8_t kLargePatternGoal[kLargePatternSize];
extern const std::uint8_t kSmallPatternGoal[kSmallPatternSize];

// The index of `size` distinct cells in a table: each cell counted among
// those its predecessors leave free, mixed radix 16, 15, 14, ... Positions
// listed in increasing order of their cells get increasing indices.
template <int size>
inline int patternIndex(const std::uint8_t* cells) {
    int index = 0;
    for (int i = 0; i < size; ++i) {
        int free = cells[i];
        for (int j = 0; j < i; ++j) free -= cells[j] < cells[i];
        index = index * (16 - i) + free;
    }
    return index;
}

// The four neighbours of each cell, as many as it has.
extern const std::uint8_t kNeighbourCount[16];
extern const std::uint8_t kNeighbours[16][4];
