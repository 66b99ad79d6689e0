// The input queue, the menu's view of it and the keyboard's cursor.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/board_cursor.h"
#include "shell/input_queue.h"
#include "shell/menu_pointer.h"

namespace {

InputEvent press(int x, int y, int buttons = kLeftButton) {
    return {InputEvent::Press, buttons, x, y, GameKey::None};
}
InputEvent release(int x, int y, int buttons = kLeftButton) {
    return {InputEvent::Release, buttons, x, y, GameKey::None};
}
InputEvent key(GameKey k) { return {InputEvent::Key, 0, 0, 0, k}; }

TEST(InputQueue, KeepsOrderDropsOnlyWhatItMustAndKeysApart) {
    InputQueue queue;
    InputQueue::Batch batch;
    // Full: the newest are dropped, the oldest kept in order.
    for (int i = 0; i < InputQueue::kCapacity; ++i) EXPECT_TRUE(queue.push(press(i, -i)));
    EXPECT_FALSE(queue.push(press(999, 999)));
    ASSERT_EQ(queue.takeAll(batch), InputQueue::kCapacity);
    for (int i = 0; i < InputQueue::kCapacity; ++i) EXPECT_EQ(batch[i].x, i);
    EXPECT_EQ(queue.takeAll(batch), 0) << "each event is taken once";

    // Dropping keys keeps the mouse's events in order, across the ring's end.
    for (int i = 0; i < InputQueue::kCapacity - 5; ++i) queue.push(key(GameKey::Enter));
    queue.takeAll(batch);
    queue.push(key(GameKey::Left));
    queue.push(press(1, 1));
    queue.push(key(GameKey::Space));
    queue.push(release(2, 2));
    queue.push(press(3, 3));
    queue.push(key(GameKey::M));
    queue.push(release(4, 4));
    queue.dropKeys();
    ASSERT_EQ(queue.takeAll(batch), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(batch[i].x, i + 1);

    // The menu takes the mouse's events only, and drops the keys before them.
    queue.push(key(GameKey::V));
    queue.push(press(5, 5));
    queue.push(key(GameKey::Up));
    InputEvent e;
    ASSERT_TRUE(queue.takeMouse(e));
    EXPECT_EQ(e.x, 5);
    EXPECT_FALSE(queue.takeMouse(e));
}

TEST(InputQueue, NoEventIsLostOrTornBetweenThreads) {
    InputQueue queue;
    constexpr int kEvents = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kEvents;) {
            if (queue.push(press(i, -i))) ++i;
        }
    });
    InputQueue::Batch batch;
    int seen = 0;
    while (seen < kEvents) {
        const int n = queue.takeAll(batch);
        for (int i = 0; i < n; ++i, ++seen) {
            ASSERT_EQ(batch[i].x, seen);
            ASSERT_EQ(batch[i].y, -seen);
        }
    }
    producer.join();
}

// The dialog's reads as the library's button manager makes them: its own
// pass, then the button's tracking loop, with idle passes between.
class Menu : public ::testing::Test {
protected:
    int read() { return pointer.buttons(live, liveX, liveY); }
    InputQueue queue;
    MenuPointer pointer{queue};
    int live = 0, liveX = 600, liveY = 370;
};

TEST_F(Menu, ATapThenAPressElsewhereAreShownOneAfterTheOther) {
    pointer.open();
    // Both taps came between two passes; the pointer is now over the board.
    queue.push(press(100, 376));
    queue.push(release(100, 376));
    queue.push(press(250, 140));
    queue.push(release(250, 140));
    live = 0, liveX = 250, liveY = 140;

    EXPECT_EQ(read(), kLeftButton);
    EXPECT_EQ(pointer.x(liveX), 100);
    pointer.idle(live);
    EXPECT_EQ(read(), kLeftButton) << "held for the tracking loop's read";
    EXPECT_EQ(pointer.y(liveY), 376);
    pointer.idle(live);
    EXPECT_EQ(read(), 0) << "released where it was pressed";
    EXPECT_EQ(pointer.x(liveX), 100);
    EXPECT_EQ(pointer.y(liveY), 376);
    // The button closes the dialog here; the second press is left queued.
    InputQueue::Batch batch;
    ASSERT_EQ(queue.takeAll(batch), 3);
    EXPECT_EQ(batch[1].kind, InputEvent::Press);
    EXPECT_EQ(batch[1].x, 250);
}

TEST_F(Menu, AHeldPressFollowsThePointerUntilLetGo) {
    pointer.open();
    queue.push(press(100, 376));
    live = kLeftButton, liveX = 100, liveY = 376;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(read(), kLeftButton);
        pointer.idle(live);
    }
    // Dragged off the button and let go there: released off it.
    liveX = 300;
    EXPECT_EQ(read(), kLeftButton);
    EXPECT_EQ(pointer.x(liveX), 300);
    queue.push(release(310, 376));
    live = 0, liveX = 320;
    EXPECT_EQ(read(), kLeftButton);
    pointer.idle(live);
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(pointer.x(liveX), 310);
    pointer.idle(live);
    EXPECT_FALSE(pointer.busy());
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(pointer.x(liveX), 320) << "with nothing shown, the pointer is where it is";
}

void centre(int col, int row, int* x, int* y) {
    *x = 100 * col + 50;
    *y = 100 * row + 50;
}
const KeyBinding kKeys[] = {{GameKey::Enter, kLeftButton}, {GameKey::M, kRightButton}};
const CursorBoard kBoard = {3, 2, centre, kKeys, 2};

TEST(BoardCursor, ArrowsStopAtTheEdgesAndBoundKeysPressUnderIt) {
    BoardCursor cursor(kBoard);
    cursor.reset();
    EXPECT_FALSE(cursor.shown());
    // A press passes as it came and shows no cursor.
    MousePress p = cursor.pressFor(press(7, 8, kRightButton));
    EXPECT_EQ(p.buttons, kRightButton);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(cursor.pressFor(release(7, 8)).buttons, 0);
    EXPECT_EQ(cursor.pressFor(key(GameKey::V)).buttons, 0) << "a key the game does not bind";
    EXPECT_FALSE(cursor.shown());

    for (GameKey k : {GameKey::Left, GameKey::Up}) EXPECT_EQ(cursor.pressFor(key(k)).buttons, 0);
    EXPECT_TRUE(cursor.shown());
    EXPECT_EQ(cursor.col(), 0);
    EXPECT_EQ(cursor.row(), 0);
    for (int i = 0; i < 5; ++i) cursor.pressFor(key(GameKey::Right));
    for (int i = 0; i < 5; ++i) cursor.pressFor(key(GameKey::Down));
    EXPECT_EQ(cursor.col(), 2);
    EXPECT_EQ(cursor.row(), 1);
    cursor.pressFor(key(GameKey::Left));
    p = cursor.pressFor(key(GameKey::M));
    EXPECT_EQ(p.buttons, kRightButton);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 150);

    cursor.reset();
    EXPECT_FALSE(cursor.shown());
    p = cursor.pressFor(key(GameKey::Enter));
    EXPECT_TRUE(cursor.shown()) << "placing by key shows where it placed";
    EXPECT_EQ(p.buttons, kLeftButton);
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 50);
}

}  // namespace
