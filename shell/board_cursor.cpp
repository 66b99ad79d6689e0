#include "shell/board_cursor.h"

#include <algorithm>

void BoardCursor::reset() {
    col_ = 0;
    row_ = 0;
    shown_ = false;
}

MousePress BoardCursor::pressFor(const InputEvent& event) {
    if (event.kind == InputEvent::Press) return {event.buttons, event.x, event.y};
    if (event.kind != InputEvent::Key) return {};

    int dx = 0, dy = 0;
    switch (event.key) {
        case GameKey::Left:
            dx = -1;
            break;
        case GameKey::Right:
            dx = 1;
            break;
        case GameKey::Up:
            dy = -1;
            break;
        case GameKey::Down:
            dy = 1;
            break;
        default:
            break;
    }
    if (dx != 0 || dy != 0) {
        shown_ = true;
        col_ = std::clamp(col_ + dx, 0, board_.cols - 1);
        row_ = std::clamp(row_ + dy, 0, board_.rows - 1);
        return {};
    }
    for (int i = 0; i < board_.keyCount; ++i) {
        if (board_.keys[i].key != event.key) continue;
        shown_ = true;
        MousePress press{board_.keys[i].buttons, 0, 0};
        board_.pressPoint(col_, row_, &press.x, &press.y);
        return press;
    }
    return {};
}
