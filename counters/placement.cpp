#include "counters/placement.h"

#include "counters/random_fill.h"
#include "shell/random_source.h"

namespace {

// Hit box k spans 210 + 52k < x < 250 + 52k, 210 < y < 250, every bound
// excluded. The boxes are deliberately offset ten pixels left of the drawn
// cells; the bounds are part of how the game answers clicks, so they change
// only together with their tests.
constexpr int kBoxLeft = 210;
constexpr int kBoxRight = 250;
constexpr int kBoxTop = 210;
constexpr int kBoxBottom = 250;

bool pointerOverCell(int k, int x, int y) {
    return kBoxLeft + kCellPitch * k < x && x < kBoxRight + kCellPitch * k && kBoxTop < y &&
           y < kBoxBottom;
}

}  // namespace

void hitBoxMiddle(int k, int, int* x, int* y) {
    *x = (kBoxLeft + kBoxRight) / 2 + kCellPitch * k;
    *y = (kBoxTop + kBoxBottom) / 2;
}

namespace {

const KeyBinding kCountersKeys[] = {
    {GameKey::Enter, kLeftButton},
    {GameKey::V, kLeftButton},
    {GameKey::Space, kRightButton},
    {GameKey::M, kRightButton},
};
const CursorBoard kCountersCursorBoard = {kRowLength, 1, hitBoxMiddle, kCountersKeys, 4};

}  // namespace

BoardCursor countersCursor{kCountersCursorBoard};

int cellUnderPointer(int x, int y) {
    for (int k = 0; k < kRowLength; ++k) {
        if (pointerOverCell(k, x, y)) return k;
    }
    return -1;
}

void placeCounterAt(Row& row, const MousePress& press) {
    // The press was taken out of the latch before we got it, so returning
    // early still consumes it.
    if ((press.buttons & (kLeftButton | kRightButton)) == 0 || GameState != Placing) return;

    for (int k = 0; k < kRowLength; ++k) {
        if (!pointerOverCell(k, press.x, press.y) || row[k] != kEmptyCell) continue;
        // Left wins over right: with both held the press is a white one, and
        // once the whites are all out it places nothing at all.
        if (press.buttons & kLeftButton) {
            if (whiteCount < kCountersPerColour) {
                row[k] = kWhiteCounter;
                ++whiteCount;
            }
        } else if ((press.buttons & kRightButton) && blackCount < kCountersPerColour) {
            row[k] = kBlackCounter;
            ++blackCount;
        }
        if (whiteCount == kCountersPerColour && blackCount == kCountersPerColour) {
            // Zeroed here so that every game starts from zero counts.
            whiteCount = 0;
            blackCount = 0;
            GameState = Solving;
            return;
        }
    }
}

void placeCountersFrom(Row& row, const InputEvent* events, int count) {
    for (int i = 0; i < count && GameState == Placing; ++i) {
        if (events[i].kind == InputEvent::Key && events[i].key == GameKey::J) {
            placeRestAtRandom(row, randomSource());
            continue;
        }
        placeCounterAt(row, countersCursor.pressFor(events[i]));
    }
}
