#pragma once
// Presses, releases and keys reported by the library's input thread, held in
// the order they came until a game loop or the menu takes them. A loop that
// polls every 50 ms sees every one of them once, however quickly they came:
// a quick second tap, a tap on the menu followed at once by one on the
// board, keys typed faster than the polls.

#include <array>
#include <mutex>

// Button bits as the library numbers them in its button word.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

struct MousePress {
    int buttons = 0;  // kLeftButton | kRightButton; 0 means no press
    int x = 0;        // pointer position when the press came
    int y = 0;
};

// The keys the games answer to while placing, whatever system reports them.
enum class GameKey { None, Left, Right, Up, Down, Enter, Space, V, M, J, N };

struct InputEvent {
    enum Kind { Press, Release, Key };
    Kind kind = Press;
    int buttons = 0;  // Press, Release: the buttons that went down or up
    int x = 0;        // Press, Release: the pointer's position then
    int y = 0;
    GameKey key = GameKey::None;  // Key
};

class InputQueue {
public:
    // Room for far more than a person can do in one poll. When it is full,
    // the newest events are the ones dropped: those already queued are acted
    // on in order, and a dropped press is never acted on at all.
    static constexpr int kCapacity = 64;
    using Batch = std::array<InputEvent, kCapacity>;

    // From the input thread; false when the queue was full.
    bool push(const InputEvent& event);
    // Moves every queued event, oldest first, into `out`; returns how many.
    int takeAll(Batch& out);
    // The oldest press or release, dropping the keys queued before it.
    bool takeMouse(InputEvent& out);
    // The oldest press or release, left in the queue.
    bool peekMouse(InputEvent& out) const;
    // Keys typed while the menu was up or a solve ran mean nothing to the
    // placing that follows.
    void dropKeys();
    void clear();

private:
    InputEvent& at(int i) { return ring_[(head_ + i) % kCapacity]; }
    const InputEvent& at(int i) const { return ring_[(head_ + i) % kCapacity]; }
    void dropFront();

    mutable std::mutex mutex_;
    Batch ring_{};
    int head_ = 0;
    int count_ = 0;
};
