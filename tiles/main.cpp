#include <cstdlib>

#include "shell/shell.h"
#include "tiles/meaning.h"
#include "tiles/placement.h"
#include "tiles/screen.h"
#include "tiles/shortest_play.h"

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
        rememberPlaced(board);
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
        switch (chooseOnMenu(tilesOffer())) {
            case MenuChoice::Quit:
                std::exit(0);
            case MenuChoice::Offer:
                showShortest(board);
                // As after a solve: nothing done while it played counts.
                forgetInput();
                break;
            case MenuChoice::NewGame:
                playOneGame();
                break;
        }
    }
}
END_OF_MAIN()
