#include "shell/menu_pointer.h"

void MenuPointer::follow(int liveButtons, int liveX, int liveY) {
    InputEvent next;
    if (queue_.peekMouse(next)) {
        if (next.kind == InputEvent::Release && (next.buttons & shown_) != 0) {
            x_ = next.x;
            y_ = next.y;
        }
    } else if ((liveButtons & shown_) != 0) {
        x_ = liveX;
        y_ = liveY;
    }
}

int MenuPointer::buttons(int liveButtons, int liveX, int liveY) {
    if (phase_ == Phase::Up) {
        InputEvent event;
        while (queue_.takeMouse(event)) {
            if (event.kind != InputEvent::Press) continue;
            phase_ = Phase::Held;
            shown_ = event.buttons;
            reads_ = 0;
            x_ = event.x;
            y_ = event.y;
            break;
        }
        // No press queued: a press whose event was lost still shows.
        if (phase_ == Phase::Up) return liveButtons;
    }
    if (phase_ == Phase::Released) {
        releaseRead_ = true;
        return 0;
    }
    ++reads_;
    follow(liveButtons, liveX, liveY);
    return shown_;
}

int MenuPointer::peekButtons(int liveButtons) const {
    switch (phase_) {
        case Phase::Held:
            return shown_;
        case Phase::Released:
            return 0;
        default:
            return liveButtons;
    }
}

void MenuPointer::idle(int liveButtons) {
    if (phase_ == Phase::Held && reads_ >= 2) {
        InputEvent next;
        // Released once its release, or anything after it, is queued, or
        // once the button is up; another press already down waits its turn.
        if (queue_.peekMouse(next) || (liveButtons & shown_) == 0) {
            phase_ = Phase::Released;
            releaseRead_ = false;
        }
    } else if (phase_ == Phase::Released && releaseRead_) {
        phase_ = Phase::Up;
    }
}
