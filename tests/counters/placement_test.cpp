// Mouse placement: the hit boxes, the button rules and the end of placing.

#include "counters/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "counters/meaning.h"
#include "row_text.h"

namespace {

struct Hit {
    int x;
    int y;
    int cell;  // -1: no cell
};

std::vector<Hit> hitCases() {
    // clang-format off
    std::vector<Hit> cases = {
        {212, 230, 0},   // on the left frame bar
        {249, 230, 0},
        {255, 230, -1},  // inside drawn cell 0, right of its box
        {264, 230, 1},   // last column of drawn cell 0
        {266, 230, 1},   // on separator 0
        {565, 230, -1},  // inside drawn cell 6
        {230, 210, -1}, {230, 211, 0}, {230, 249, 0}, {230, 250, -1},
        {-5, 230, -1}, {700, 230, -1}, {230, -5, -1}, {230, 600, -1},
    };
    // clang-format on
    for (int k = 0; k < kRowLength; ++k) {
        const int left = 210 + kCellPitch * k;
        cases.push_back({left, 230, -1});
        cases.push_back({left + 1, 230, k});
        cases.push_back({left + 39, 230, k});
        cases.push_back({left + 40, 230, -1});
        cases.push_back({left + 20, 211, k});
        cases.push_back({left + 20, 249, k});
    }
    return cases;
}

// Starts a placing phase on `text` with counts that match it.
Row placing(const std::string& text) {
    GameState = Placing;
    whiteCount = int(std::count(text.begin(), text.end(), 'W'));
    blackCount = int(std::count(text.begin(), text.end(), 'B'));
    return rowFrom(text);
}

MousePress pressOn(int cell, int buttons) { return {buttons, 230 + kCellPitch * cell, 230}; }

TEST(CounterPlacement, HitBoxesExcludeTheirBounds) {
    for (const Hit& hit : hitCases()) {
        EXPECT_EQ(cellUnderPointer(hit.x, hit.y), hit.cell) << hit.x << "," << hit.y;

        Row row = placing("-------");
        placeCounterAt(row, {kLeftButton, hit.x, hit.y});
        std::string expected = "-------";
        if (hit.cell >= 0) expected[hit.cell] = 'W';
        EXPECT_EQ(textOf(row), expected) << hit.x << "," << hit.y;
    }
}

struct PressCase {
    const char* name;
    const char* before;
    int cell;
    int buttons;
    const char* after;
};

const PressCase kPressCases[] = {
    {"left places white", "-------", 3, kLeftButton, "---W---"},
    {"right places black", "-------", 3, kRightButton, "---B---"},
    {"both place white", "B------", 3, kLeftButton | kRightButton, "B--W---"},
    {"both place nothing once whites are out", "WWW----", 3, kLeftButton | kRightButton, "WWW----"},
    {"left with whites out", "WWWB---", 5, kLeftButton, "WWWB---"},
    {"right with blacks out", "BBBW---", 5, kRightButton, "BBBW---"},
    {"middle button alone", "-------", 3, 4, "-------"},
    {"occupied by white, right", "---W---", 3, kRightButton, "---W---"},
    {"occupied by black, left", "---B---", 3, kLeftButton, "---B---"},
    {"occupied, both", "---B---", 3, kLeftButton | kRightButton, "---B---"},
};

TEST(CounterPlacement, ButtonsFillOnlyEmptyCellsWithinTheirColour) {
    for (const PressCase& c : kPressCases) {
        SCOPED_TRACE(c.name);
        Row row = placing(c.before);
        placeCounterAt(row, pressOn(c.cell, c.buttons));
        const std::string after = textOf(row);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(whiteCount, int(std::count(after.begin(), after.end(), 'W')));
        EXPECT_EQ(blackCount, int(std::count(after.begin(), after.end(), 'B')));
        EXPECT_EQ(GameState, Placing);
    }
}

TEST(CounterPlacement, PressesOutsideThePlacingPhaseAreIgnored) {
    for (int state : {Idle, Solving, Solved}) {
        Row row = placing("-------");
        GameState = state;
        placeCounterAt(row, pressOn(2, kLeftButton));
        EXPECT_EQ(textOf(row), "-------");
        EXPECT_EQ(whiteCount, 0);
    }
}

TEST(CounterPlacement, SixthCounterOfEitherColourStartsSolving) {
    const PressCase sixth[] = {
        {"white", "BBBWW--", 5, kLeftButton, "BBBWWW-"},
        {"black", "WWWBB--", 6, kRightButton, "WWWBB-B"},
    };
    for (const PressCase& c : sixth) {
        SCOPED_TRACE(c.name);
        Row row = placing(c.before);
        placeCounterAt(row, pressOn(c.cell, c.buttons));
        EXPECT_EQ(textOf(row), c.after);
        EXPECT_EQ(GameState, Solving);
        EXPECT_EQ(whiteCount, 0);
        EXPECT_EQ(blackCount, 0);
    }
}

TEST(CounterPlacement, RandomPressesKeepTheCountsAndClicksFinishPlacing) {
    std::mt19937 random(20031);
    std::uniform_int_distribution<int> anyX(-100, 740), anyY(-100, 580), nearX(200, 590),
        nearY(200, 260), buttons(0, 7), coin(0, 1);
    for (int game = 0; game < 200; ++game) {
        Row row = placing("-------");
        for (int press = 0; press < 25 && GameState == Placing; ++press) {
            const bool near = coin(random);
            placeCounterAt(row, {buttons(random), near ? nearX(random) : anyX(random),
                                 near ? nearY(random) : anyY(random)});
            if (GameState != Placing) break;
            const std::string text = textOf(row);
            ASSERT_EQ(whiteCount, int(std::count(text.begin(), text.end(), 'W'))) << text;
            ASSERT_EQ(blackCount, int(std::count(text.begin(), text.end(), 'B'))) << text;
            ASSERT_LE(whiteCount, 3);
            ASSERT_LE(blackCount, 3);
        }
        // Clicking every cell with the colour still missing completes the row.
        for (int k = 0; k < kRowLength && GameState == Placing; ++k) {
            placeCounterAt(row, pressOn(k, whiteCount < 3 ? kLeftButton : kRightButton));
        }
        const std::string text = textOf(row);
        ASSERT_EQ(GameState, Solving) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), 'W'), 3) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), 'B'), 3) << text;
        EXPECT_EQ(whiteCount + blackCount, 0);

        // Once solving has begun, no press changes the row.
        placeCounterAt(row, pressOn(int(text.find('-')), kLeftButton));
        EXPECT_EQ(textOf(row), text);
    }
}

TEST(CounterPlacement, KeysPlaceUnderTheCursorAndTheMeaningFollows) {
    Row row = placing("-------");
    countersCursor.reset();
    auto key = [](GameKey k) { return InputEvent{InputEvent::Key, 0, 0, 0, k}; };
    // V and Enter white, M and space black; up and down go nowhere.
    const InputEvent keys[] = {key(GameKey::V),     key(GameKey::Right), key(GameKey::Space),
                               key(GameKey::Down),  key(GameKey::Right), key(GameKey::Enter),
                               key(GameKey::Right), key(GameKey::M),     key(GameKey::Up)};
    placeCountersFrom(row, keys, 9);
    EXPECT_EQ(textOf(row), "WBWB---");
    EXPECT_EQ(countersCursor.col(), 3);

    const ScreenMeaning m = countersMeaning(row);
    EXPECT_STREQ(m.status, "Vasak nupp - valge, parem nupp - must.");
    EXPECT_STREQ(m.cells[0].name, "Lahter 1: valge");
    EXPECT_STREQ(m.cells[1].name, "Lahter 2: must");
    EXPECT_STREQ(m.cells[6].name, "Lahter 7: t\xfchi");
    EXPECT_EQ(m.cursor, 3);
    // A press at a cell's point lands on that cell, inside the drawn cell too.
    EXPECT_EQ(cellUnderPointer(m.cells[5].x, m.cells[5].y), 5);
    EXPECT_LT(m.cells[5].left, m.cells[5].x);
    EXPECT_GT(m.cells[5].right, m.cells[5].x);
}

}  // namespace
