#pragma once
// What the menu's dialog sees of the mouse. The dialog reads the library's
// button word, which never shows a press released before its next pass (a
// tap from a touchpad, a remote desktop or automation) and shows a second
// press while a button is still following the first. So the menu reads the
// queued presses instead, one at a time: each is shown held at its own
// place until the dialog has read it twice, once in its own pass and once
// in the button's tracking loop, and an idle pass has followed; then it is
// shown released for one read, and only after the next idle pass does the
// next press come. A press the user really holds stays held, following the
// pointer, until it is let go.

#include "shell/input_queue.h"

class MenuPointer {
public:
    explicit MenuPointer(InputQueue& queue) : queue_(queue) {}

    // The menu opens: nothing is shown held.
    void open() { phase_ = Phase::Up; }
    // One read by the dialog. `liveButtons`, `liveX`, `liveY`: the library's
    // own button word and position.
    int buttons(int liveButtons, int liveX, int liveY);
    int x(int liveX) const { return phase_ == Phase::Up ? liveX : x_; }
    int y(int liveY) const { return phase_ == Phase::Up ? liveY : y_; }
    // What a reader that must not take anything (the library's timer) sees.
    int peekButtons(int liveButtons) const;
    // The dialog's idle pass.
    void idle(int liveButtons);
    // Whether the dialog still has something to look at without new input.
    bool busy() const { return phase_ != Phase::Up; }

private:
    enum class Phase { Up, Held, Released };
    // Follows a press while it is held: to its release, once that is queued,
    // or to where the pointer is while the button is really down.
    void follow(int liveButtons, int liveX, int liveY);

    InputQueue& queue_;
    Phase phase_ = Phase::Up;
    int shown_ = 0;  // the buttons of the press shown
    int reads_ = 0;
    bool releaseRead_ = false;
    int x_ = 0, y_ = 0;
};
