// The counters program: place three white and three black counters, then
// watch the shortest way to put every white left of every black.

#include <allegro.h>

#include <climits>
#include <cstdlib>

#include "counters/placement.h"
#include "counters/playback.h"
#include "counters/row.h"
#include "counters/screen.h"
#include "counters/search.h"
#include "shell/shell.h"

namespace {

void startGame(Row& row) {
    bestDepth = INT_MAX;
    row.clear();
    searchDepth = 0;
    GameState = Placing;
    countersCursor.reset();
    startPlacingInput();
}

}  // namespace

int main() {
    startShell();
    // The one row of the whole run; every game empties it again.
    Row row;
    row.clear();

    for (;;) {
        clear_keybuf();
        drawScreen(row);
        // Escape closes the menu like "new game"; only the quit button ends.
        if (chooseOnMenu(0) == MenuChoice::Quit) std::exit(0);

        startGame(row);
        while (GameState == Placing) {
            drawScreen(row);
            placeCounter(row);
            restBetweenPolls();
        }

        drawScreen(row);
        // The outcome is read from bestDepth when the final screen is drawn.
        solveRow(&row);
        playSolution(row);
        GameState = Solved;
        // Clicks and keys made during the playback are none on the menu;
        // those made once the outcome shows are.
        forgetInput();
    }
}
END_OF_MAIN()
