#pragma once
// The seven cells of the counters puzzle and the program-wide phase state.
// Nothing here knows about the screen.

#include <cstdint>

constexpr int kRowLength = 7;

// Cell contents; the move table and the goal test use the same codes.
constexpr std::int32_t kEmptyCell = 0;
constexpr std::int32_t kBlackCounter = 1;
constexpr std::int32_t kWhiteCounter = 2;

// How many counters of each colour a game places.
constexpr int kCountersPerColour = 3;

// Phase codes of the program-wide GameState.
enum GameStateCode : int {
    Idle = 0,
    Placing = 1,
    Solving = 2,
    Solved = 3,
};

// Cell 0 is the leftmost cell on screen.
struct Row {
    std::int32_t cells[kRowLength];

    std::int32_t& operator[](int i) { return cells[i]; }
    std::int32_t operator[](int i) const { return cells[i]; }

    void clear();
};

// Program-wide state shared by the main loop, placement and drawing.
extern int GameState;
extern int whiteCount;
extern int blackCount;
