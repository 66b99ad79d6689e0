#pragma once
// How a position is read in the pattern databases: which tiles each lookup
// takes, where it sees them, and the index of their cells in a table. Shared
// by the tables' build and by the search, so that both rank cells alike.
//
// Cells are numbered in reading order (row * 4 + col). The partition is six
// tiles of the left half of the top three rows, the six of the right half,
// and the three of the bottom row. A table's distances depend only on the
// cells of its pattern's goal, not on which tiles those are, and the board
// is the same in a mirror: so the right half's table is the left half's
// seen in the mirror between the halves, and one six-tile table serves
// both. The second sum reads the position reflected in the diagonal through
// the gap's home, which gives another partition for free; the search takes
// the larger sum.

#include <cstdint>
#include <vector>

class SearchWatcher;

constexpr int kLargePatternSize = 6;
constexpr int kSmallPatternSize = 3;
constexpr std::uint8_t kNotReached = 0xFF;

// One term of a sum: the tiles it reads and the cell each is seen in for a
// tile in a given cell; tiles[i] is seen where the table's pattern keeps its
// i-th tile. The gap is seen through the same cells.
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

// The four neighbours of each cell, as many as it has.
extern const std::uint8_t kNeighbourCount[16];
extern const std::uint8_t kNeighbours[16][4];

// Where an entry of a table lies. The gap counts: the pattern's tiles may
// wall off parts of the board, and a gap walled off must first fetch a
// pattern tile out of its way, which the distance then counts. So an entry
// belongs to the set of cells the pattern covers, the region of free cells
// the gap is in (its cells joined by steps over free cells; regions numbered
// from the one holding the lowest cell), and the order of the pattern's
// tiles over that set. A block holds every order of one set and region.
struct PatternLayout {
    int size = 0;
    int orders = 0;                        // size!
    int blocks = 0;                        // sets times their regions
    std::vector<std::uint16_t> setOfMask;  // by the mask of covered cells
    std::vector<std::uint16_t> maskOfSet;
    std::vector<std::uint32_t> firstBlock;  // by set: the block of its region 0
    std::vector<std::uint64_t> regionOf;    // by set: a nibble per free cell

    void build(int patternSize, SearchWatcher* watcher);
    int block(int set, int cell) const {
        return firstBlock[set] + int((regionOf[set] >> (4 * cell)) & 15);
    }
};

// The order of `size` distinct cells as a number below size!: for each cell
// in turn, how many of those after it are lower (a Lehmer code).
template <int size>
inline int orderIndex(const std::uint8_t* cells) {
    int index = 0;
    for (int i = 0; i < size; ++i) {
        int lower = 0;
        for (int j = i + 1; j < size; ++j) lower += cells[j] < cells[i];
        index = index * (size - i) + lower;
    }
    return index;
}
