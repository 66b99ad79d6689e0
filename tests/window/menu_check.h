#pragma once
// The menu as both programs show it between games.

#include <gtest/gtest.h>

#include "x_harness.h"

// The two buttons: a black outline at their rectangles, white inside, a
// black label; nothing in any other colour, whatever the colour depth.
inline void expectMenuButtons(const Shot& shot) {
    for (int top : {360, 400}) {
        EXPECT_TRUE(shot.allOf(25, top + 2, 25, top + 28, kBlackRgb))
            << "left edge of button at " << top;
        EXPECT_TRUE(shot.allOf(30, top + 2, 40, top + 28, kWhiteRgb))
            << "inside of button at " << top;
        int black = 0;
        for (int y = top; y < top + 32; ++y)
            for (int x = 25; x < 175; ++x) {
                Rgb p = shot.at(x, y);
                ASSERT_TRUE(p == kBlackRgb || p == kWhiteRgb) << x << "," << y;
                black += p == kBlackRgb;
            }
        EXPECT_GT(black, 400) << "a label is drawn on the button at " << top;
    }
}
