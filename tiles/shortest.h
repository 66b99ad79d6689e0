#pragma once
// The fewest moves that solve a 15-puzzle position, found by an admissible
// search (IDA* over additive pattern databases). Nothing here knows about the
// screen; a caller that wants to show the wait passes a SearchWatcher.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "tiles/pattern_lookup.h"

// A position in reading order: the four cells of the top row first, 0 for
// the gap. The goal is 1 2 ... 15 and the gap bottom right.
using Position = std::array<std::uint8_t, 16>;

// Told often while the tables are built and while the search runs: at least
// every few milliseconds of work, so that a platform that must give its
// thread back (the browser) can do it here, and a screen can show progress.
class SearchWatcher {
public:
    virtual ~SearchWatcher() = default;
    // Called every so often while the tables are built; no bound yet.
    virtual void buildingTables() {}
    // A new bound: no solution is shorter than `moves`. Called once per bound.
    virtual void boundPassed(int moves) { (void)moves; }
    // Called every so often while a bound is being searched.
    virtual void stillSearching() {}
};

// The pattern databases the search reads. Built once, when first asked, and
// kept for the rest of the run.
class ShortestTables {
public:
    // The one set of tables of the program; builds nothing yet.
    static ShortestTables& shared();
    // Builds the tables unless they are built; safe to call again.
    void prepare(SearchWatcher* watcher = nullptr);
    bool ready() const;

    // The fewest moves the tables promise for a position with every tile
    // and the gap present; never more than its shortest solution. The
    // tables must be ready.
    int lowerBound(const Position& position) const;
    // What the pattern lookup `lookup` (pattern_lookup.h) reads, and what
    // it promises for the tiles and the gap in the cells cellOf[0..15].
    const std::uint8_t* tableFor(int lookup) const;
    const PatternLayout& layoutFor(int lookup) const;
    int promise(int lookup, const std::uint8_t* cellOf) const;

private:
    PatternLayout largeLayout;
    PatternLayout smallLayout;
    std::unique_ptr<std::uint8_t[]> largeTable;  // six tiles, a byte per entry
    std::unique_ptr<std::uint8_t[]> smallTable;  // three tiles
    bool built = false;
};

// True for a position whose gap and tiles are all present once and whose
// permutation parity allows a solution.
bool isSolvablePosition(const Position& position);

// The tiles moved, in order, by one shortest solution (empty when the
// position is the goal). The position must be solvable. Builds the shared
// tables first if they are not built.
std::vector<std::uint8_t> shortestSolution(const Position& position,
                                           SearchWatcher* watcher = nullptr);

// The position read off the board record (which keeps its cells column by
// column), for the search.
struct Board;
Position positionOf(const Board& board);
