#pragma once
// Presses reported by the library's input thread, held until the game loop
// takes them. Polling the library's button word every 50 ms loses quick taps
// and, once the word has been zeroed under a held button, sees phantom
// presses; a latch fed from the press events sees each real press exactly once.

#include <atomic>
#include <cstdint>

// Button bits as the library numbers them in its button word.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

struct MousePress {
    int buttons = 0;  // kLeftButton | kRightButton; 0 means no press
    int x = 0;        // pointer position when the first press of the poll came
    int y = 0;
};

class MouseLatch {
public:
    // Called from the input thread. Presses that arrive before the next take()
    // add their buttons; the position stays that of the first one.
    void press(int buttons, int x, int y);
    // Called from the game loop: returns what was latched and empties the latch.
    MousePress take();

private:
    std::atomic<std::uint64_t> word_{0};
};
