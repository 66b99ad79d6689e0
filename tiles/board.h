#pragma once
// The 15-puzzle position and everything the solver does to it. Nothing here
// knows about the screen: the solver shows its moves through solve_view.h.

#include <cstdint>

// Phase codes of the program-wide GameState.
enum GameStateCode : int {
    Idle = 0,
    Placing = 1,
    Solving = 2,
    Unsolvable = 3,
    Solved = 4,
    GaveUp = 5,
    // The shortest solution of the placed position, asked for at the menu:
    // searched for, played move by move, shown solved.
    SeekingShortest = 6,
    PlayingShortest = 7,
    ShortestShown = 8,
};

// One step of a piece, in the order neighbours are tried everywhere.
enum Direction : int {
    kNoRoute = -1,
    kAtTarget = 0,
    kLeft = 1,
    kRight = 2,
    kUp = 3,
    kDown = 4,
};

constexpr int kBoardSide = 4;
constexpr int kCellCount = 16;
constexpr int kUnplaced = -1;
constexpr int kBlank = 0;
// A route of this length or more counts as no route.
constexpr int kPathCap = 100;

struct CellPos {
    int col;
    int row;
};

// Cell (col, row) is cells[col*4 + row]: the four cells of column 0 come first.
inline int cellIndex(int col, int row) { return col * kBoardSide + row; }

struct Board {
    std::int32_t cells[kCellCount];   // -1 unplaced, 0 blank, 1..15 tiles
    std::int32_t parityCount;         // the solvability test's sum
    std::int32_t perm[17];            // reading-order copy, 1-based, blank as 16
    std::int32_t visited[17];         // the test's 0/1 marks, indexed like perm
    std::uint8_t locked[kCellCount];  // cells the route search must not enter

    void reset();

    // Solvability (solvability.cpp).
    bool isSolvable();
    void traceCycle(int index);

    // Routes and single moves (path_search.cpp).
    CellPos findValue(int value) const;
    int pathLength(int col, int row, int goalCol, int goalRow);
    int chooseDirection(int col, int row, int goalCol, int goalRow);
    void stepBlankToward(int goalCol, int goalRow);
    int stepTileToward(int tile, int goalCol, int goalRow);

    // The whole solving script (solve_script.cpp).
    void solve();
};

struct SolveStep {
    std::int32_t tile;
    std::int32_t col;
    std::int32_t row;
};

constexpr int kScriptCapacity = 30;
constexpr int kStepCount = 23;
constexpr int moveDelayMs = 500;

extern const SolveStep kSolveScript[kScriptCapacity];

// Program-wide state shared by the main loop, placement, drawing and solver.
extern int GameState;
extern int nextTile;
extern int stepIndex;
