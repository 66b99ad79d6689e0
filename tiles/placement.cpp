#include "tiles/placement.h"

#include "shell/random_source.h"
#include "tiles/random_fill.h"

namespace {

// Strict bounds: the outermost pixel line of a drawn cell and the gaps
// between cells hit nothing, so a press on a border is never ambiguous.
int cellUnder(int x, int y) {
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            int left = kBoardLeft + kCellPitch * col;
            int top = kBoardTop + kCellPitch * row;
            if (left < x && x < left + kCellSpan && top < y && y < top + kCellSpan) {
                return cellIndex(col, row);
            }
        }
    }
    return -1;
}

// The centre of the cell, well inside its hit box.
void cellCentre(int col, int row, int* x, int* y) {
    *x = kBoardLeft + kCellSpan / 2 + kCellPitch * col;
    *y = kBoardTop + kCellSpan / 2 + kCellPitch * row;
}

const KeyBinding kTilesKeys[] = {
    {GameKey::Enter, kLeftButton},
    {GameKey::Space, kLeftButton},
};
const CursorBoard kTilesCursorBoard = {kBoardSide, kBoardSide, cellCentre, kTilesKeys, 2};

}  // namespace

BoardCursor tilesCursor{kTilesCursorBoard};

void placeTileAt(Board& board, const MousePress& press) {
    if ((press.buttons & kLeftButton) == 0 || GameState != Placing) return;
    int cell = cellUnder(press.x, press.y);
    if (cell < 0 || board.cells[cell] != kUnplaced) return;

    board.cells[cell] = nextTile;
    ++nextTile;
    if (nextTile > 15) {
        for (int& value : board.cells) {
            if (value == kUnplaced) value = kBlank;
        }
        GameState = Solving;
        nextTile = 1;
    }
}

void placeTilesFrom(Board& board, const InputEvent* events, int count) {
    for (int i = 0; i < count && GameState == Placing; ++i) {
        if (events[i].kind == InputEvent::Key && events[i].key == GameKey::J) {
            placeRestAtRandom(board, randomSource());
            continue;
        }
        placeTileAt(board, tilesCursor.pressFor(events[i]));
    }
}
