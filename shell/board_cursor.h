#pragma once
// The keyboard's way of placing: a cursor over the board's cells, moved by
// the arrow keys, and keys that press a button on the cell under it exactly
// as the mouse would there. Both programs place through it; each says how
// many cells it has, where a press on each lands and which keys press which
// button.

#include "shell/input_queue.h"

struct KeyBinding {
    GameKey key;
    int buttons;  // the mouse buttons the key stands for
};

struct CursorBoard {
    int cols;
    int rows;
    // A point inside the cell's hit area, in screen pixels.
    void (*pressPoint)(int col, int row, int* x, int* y);
    const KeyBinding* keys;
    int keyCount;
};

class BoardCursor {
public:
    explicit BoardCursor(const CursorBoard& board) : board_(board) {}

    // A placing phase starts: the top-left cell, not shown.
    void reset();
    // One event of the placing phase as the press it stands for (buttons 0
    // when none): a press as it came, a bound key as a press on the cell
    // under the cursor. Arrow keys move the cursor and stop at the edges.
    // Any key the game answers to shows the cursor.
    MousePress pressFor(const InputEvent& event);

    bool shown() const { return shown_; }
    int col() const { return col_; }
    int row() const { return row_; }

private:
    const CursorBoard& board_;
    int col_ = 0;
    int row_ = 0;
    bool shown_ = false;
};
