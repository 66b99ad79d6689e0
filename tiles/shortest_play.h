#pragma once
// The shortest solution of the position last placed, asked for at the menu
// and played on the board the way the script plays its moves.

#include "tiles/board.h"
#include "tiles/shortest.h"

// What the status line says about it.
struct ShortestShow {
    int bound = 0;           // the search's latest bound; 0 before the first
    bool announced = false;  // the search has run longer than a redraw
    int played = 0;          // moves made so far
    int length = 0;          // moves in the solution, once found
};
extern ShortestShow shortestShow;

// Keeps the position as placed, before anything moves it: the one that the
// shortest solution starts from.
void rememberPlaced(const Board& board);

// Whether the menu offers the shortest solution: after a game whose placed
// position could be solved, however it ended, and after showing it.
bool shortestOffered();

// Puts the placed position back on the board and shows it, searches (telling
// `watcher`), then makes one move every moveDelayMs, the first that long
// after the placed position was shown, and ends with GameState
// ShortestShown and the board solved.
void playShortest(Board& board, SearchWatcher* watcher);
