#pragma once
// Exhaustive search for the shortest sequence of moves that brings every
// white counter to the left of every black one.

#include <cstdint>

#include "counters/row.h"

// One kind of move: a counter of `colour` jumps `offset` cells into a cell
// holding `destContent`, and leaves `destContent` behind.
struct CounterMove {
    std::int32_t colour;
    std::int32_t offset;
    std::int32_t destContent;
};

constexpr int kCounterMoveCapacity = 20;
constexpr int kCounterMoveCount = 6;
extern const CounterMove kCounterMoves[kCounterMoveCapacity];

constexpr int kSolutionCapacity = 50;

// The moves of the shortest solution found, the first move on top.
struct SolutionStack {
    int cell[kSolutionCapacity];  // source cell of each move
    int move[kSolutionCapacity];  // its index in kCounterMoves
    int top = 0;
};

extern int bestDepth;    // length of the shortest solution found so far
extern int searchDepth;  // moves from the start row to the row being examined
extern SolutionStack solutionStack;

// Counts every call of searchSolution, for the benchmark to read.
extern unsigned long searchSolutionCalls;

// Every white counter lies left of every black one.
bool isGoalRow(const Row& row);

// Moves the counter in `cell` by kCounterMoves[move]; the move must apply.
void applyMove(Row& row, int cell, int move);

// Examines one row reached after searchDepth moves; true when a goal shorter
// than bestDepth was found at or below it.
bool searchSolution(const Row* row);

// Searches from the start row. Expects bestDepth INT_MAX, searchDepth 0 and
// an empty stack; leaves the shortest solution on solutionStack.
bool solveRow(const Row* row);
