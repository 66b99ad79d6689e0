#include <cstdlib>

#include "shell/shell.h"
#include "tiles/placement.h"
#include "tiles/screen.h"

namespace {

// The one board of the run; it keeps the last game's position, which stays
// on screen under the menu.
Board board;

void playOneGame() {
    board.reset();
    GameState = Placing;
    tilesCursor.reset();
    startPlacingInput();
    do {
        drawScreen(board);
        placeTile(board);
        restBetweenPolls();
    } while (GameState == Placing);

    GameState = Solving;
    if (board.isSolvable()) {
        board.solve();
    } else {
        GameState = Unsolvable;
    }
    // Clicks and keys made while the program solved are none on the menu;
    // those made once the outcome shows are.
    forgetInput();
    drawScreen(board);
}

}  // namespace

int main() {
    startShell();
    board.reset();
    for (;;) {
        clear_keybuf();
        drawScreen(board);
        if (menuSaysQuit()) std::exit(0);
        playOneGame();
    }
}
END_OF_MAIN()
