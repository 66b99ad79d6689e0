#include "counters/screen.h"

#include <allegro.h>

#include <array>
#include <climits>
#include <optional>

#include "counters/meaning.h"
#include "counters/placement.h"
#include "counters/search.h"
#include "counters/texts.h"
#include "shell/hint_line.h"
#include "shell/shell.h"

namespace {

constexpr int kCentreX0 = 240;  // centre of cell 0
constexpr int kCentreY = 230;
constexpr int kCounterRadius = 20;
// Wider than a counter so an empty cell also wipes the outline's edge pixels.
constexpr int kWipeRadius = 22;

int black() { return makecol(0, 0, 0); }
int white() { return makecol(255, 255, 255); }

void drawFrame() {
    rectfill(screen, 210, 200, 215, 260, black());
    rectfill(screen, 577, 200, 582, 260, black());
    rectfill(screen, 210, 200, 582, 205, black());
    rectfill(screen, 210, 255, 582, 260, black());
}

void drawSeparator(int k) {
    rectfill(screen, 265 + kCellPitch * k, 200, 267 + kCellPitch * k, 260, black());
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

void drawBanner() {
    textout(screen, font, kCountersBanner, kCountersBannerX, kCountersBannerY, black());
}

void drawStatus() {
    // Only the status area is repainted: the menu buttons left of it must
    // survive every redraw.
    rectfill(screen, kStatusLeft, kStatusTop, 640, 480, white());
    int left = 0;
    const char* line = countersStatusLine(&left);
    if (line[0] != '\0') textprintf(screen, font, left, kStatusTop, black(), "%s", line);
}

#pragma GCC diagnostic pop

}  // namespace

void drawCounter(int content, int index) {
    const int x = kCentreX0 + kCellPitch * index;
    if (content == kBlackCounter) {
        circlefill(screen, x, kCentreY, kCounterRadius, black());
    } else if (content == kWhiteCounter) {
        // Outline only: the cell was shown empty, i.e. wiped white, before.
        circle(screen, x, kCentreY, kCounterRadius, black());
    } else {
        circlefill(screen, x, kCentreY, kWipeRadius, white());
    }
}

namespace {

// The keyboard's cursor: a black frame, 2 pixels wide, just inside the
// cell and clear of its counter.
void drawCursor(int k) {
    const int left = kCellInsideLeft + kCellPitch * k;
    const int right = left + kCellInsideWidth - 1;
    for (int i = 1; i < 3; ++i)
        rect(screen, left + i, kCellInsideTop + i, right - i, kCellInsideBottom - i, black());
}

// Wipes a cell's inside, frame of the cursor and all; a counter wipe alone
// would leave the frame's corners.
void wipeCell(int k) {
    const int left = kCellInsideLeft + kCellPitch * k;
    rectfill(screen, left, kCellInsideTop, left + kCellInsideWidth - 1, kCellInsideBottom, white());
}

// The cursor's cell while it is drawn, else -1: only while placing, and
// only once a key has been used.
int cursorDrawn() {
    return GameState == Placing && countersCursor.shown() ? countersCursor.col() : -1;
}

// Everything a redraw's pixels depend on: the cells, the state, whether the
// search found a solution, and the keyboard's cursor.
using ShownKey = std::array<int, kRowLength + 3>;

ShownKey shownKey(const Row& row) {
    ShownKey key{};
    for (int k = 0; k < kRowLength; ++k) key[k] = row[k];
    key[kRowLength] = GameState;
    key[kRowLength + 1] = bestDepth == INT_MAX;
    key[kRowLength + 2] = cursorDrawn();
    return key;
}

// What the screen shows now. Nothing else paints these areas (the dialog only
// draws its buttons), so a redraw with the same key would put the same pixels
// on the screen; the placing loop asks for one twenty times a second.
std::optional<ShownKey> lastShown;

}  // namespace

void drawScreen(const Row& row) {
    const ShownKey key = shownKey(row);
    if (lastShown == key) return;
    // A cursor on the screen goes with the wipe of every cell; a game played
    // with the mouse alone never draws one, and its pixels stay as they were.
    const bool cursorWasDrawn = lastShown && (*lastShown)[kRowLength + 2] >= 0;
    lastShown = key;

    vsync();
    scare_mouse();
    acquire_screen();

    // Fixed areas only, never a full clear, so the dialog's buttons stay.
    drawBanner();
    drawFrame();
    for (int k = 0; k < kRowLength; ++k) {
        if (k < kRowLength - 1) drawSeparator(k);
        if (cursorWasDrawn) wipeCell(k);
        drawCounter(row[k], k);
    }
    if (key[kRowLength + 2] >= 0) drawCursor(key[kRowLength + 2]);
    const ScreenMeaning meaning = countersMeaning(row);
    drawHintLine(meaning.hint);
    drawStatus();

    release_screen();
    unscare_mouse();
    tellScreen(meaning);
}

void placeCounter(Row& row) {
    InputQueue::Batch events;
    placeCountersFrom(row, events.data(), takeInput(events));
}

void pauseFor(int ms) {
    rest(ms);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    yield_timeslice();
#pragma GCC diagnostic pop
}
