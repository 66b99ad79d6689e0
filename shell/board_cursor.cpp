#include "shell/board_cursor.h"

#include <algorithm>

namespace {

const struct {
    GameKey key;
    int dx, dy;
} kArrows[] = {
    {GameKey::Left, -1, 0},
    {GameKey::Right, 1, 0},
    {GameKey::Up, 0, -1},
    {GameKey::Down, 0, 1},
};

}  // namespace

void BoardCursor::reset() {
    col_ = 0;
    row_ = 0;
    shown_ = false;
}

MousePress BoardCursor::pressFor(const InputEvent& event) {
    if (event.kind == InputEvent::Press) return {event.buttons, event.x, event.y};
    if (event.kind != InputEvent::Key) return {};

    for (const auto& arrow : kArrows) {
        if (arrow.key != event.key) continue;
        shown_ = true;
        col_ = std::clamp(col_ + arrow.dx, 0, board_.cols - 1);
        row_ = std::clamp(row_ + arrow.dy, 0, board_.rows - 1);
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
