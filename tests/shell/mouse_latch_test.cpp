#include "shell/mouse_latch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(MouseLatch, EmptyLatchGivesNoPress) {
    MouseLatch latch;
    EXPECT_EQ(latch.take().buttons, 0);
}

TEST(MouseLatch, PressIsTakenOnceWithItsPosition) {
    MouseLatch latch;
    latch.press(kLeftButton, 251, 141);
    MousePress p = latch.take();
    EXPECT_EQ(p.buttons, kLeftButton);
    EXPECT_EQ(p.x, 251);
    EXPECT_EQ(p.y, 141);
    EXPECT_EQ(latch.take().buttons, 0) << "a press must be acted on once";
}

TEST(MouseLatch, PressesWithinOnePollAddButtonsAndKeepFirstPosition) {
    MouseLatch latch;
    latch.press(kRightButton, 300, 230);
    latch.press(kLeftButton, 400, 240);
    MousePress p = latch.take();
    EXPECT_EQ(p.buttons, kLeftButton | kRightButton);
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 230);
}

TEST(MouseLatch, PositionsOutsideTheWindowSurvive) {
    MouseLatch latch;
    const int positions[][2] = {{-5, -7}, {0, 0}, {639, 479}, {5000, -3000}, {-100000, 100000}};
    for (const auto& pos : positions) {
        latch.press(kLeftButton, pos[0], pos[1]);
        MousePress p = latch.take();
        EXPECT_EQ(p.x, pos[0]);
        EXPECT_EQ(p.y, pos[1]);
    }
}

TEST(MouseLatch, ReleaseOnlyFlagsLatchNothing) {
    MouseLatch latch;
    latch.press(0, 10, 10);
    EXPECT_EQ(latch.take().buttons, 0);
}

TEST(MouseLatch, NoPressIsLostOrTornBetweenThreads) {
    MouseLatch latch;
    constexpr int kPresses = 20000;
    std::atomic<int> seen{0};
    std::thread producer([&] {
        for (int i = 0; i < kPresses; ++i) {
            latch.press(kLeftButton, i, -i);
            // One press per poll: wait until the consumer has taken it.
            while (seen.load() <= i) std::this_thread::yield();
        }
    });
    while (seen.load() < kPresses) {
        MousePress p = latch.take();
        if (p.buttons == 0) continue;
        int expected = seen.load();
        ASSERT_EQ(p.x, expected);
        ASSERT_EQ(p.y, -expected) << "buttons and position must change together";
        seen.store(expected + 1);
    }
    producer.join();
}
