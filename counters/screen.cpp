#include "counters/screen.h"

#include <allegro.h>

#include <array>
#include <climits>
#include <optional>

#include "counters/placement.h"
#include "counters/search.h"
#include "counters/texts.h"
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
    if (GameState == Placing) {
        textprintf(screen, font, kStatusLeft, kStatusTop, black(), kPlacingHelp);
    }
    if (GameState == Solving) {
        textprintf(screen, font, kStatusNarrowLeft, kStatusTop, black(), kSearching);
    }
    if (GameState == Solved) {
        // A search that found nothing leaves bestDepth untouched.
        if (bestDepth == INT_MAX) {
            textprintf(screen, font, kStatusNarrowLeft, kStatusTop, black(), kCountersUnsolvable);
        } else {
            textprintf(screen, font, kStatusNarrowLeft, kStatusTop, black(), kCountersSolved);
        }
    }
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

// Everything a redraw's pixels depend on: the cells, the state and whether
// the search found a solution.
using ShownKey = std::array<int, kRowLength + 2>;

ShownKey shownKey(const Row& row) {
    ShownKey key{};
    for (int k = 0; k < kRowLength; ++k) key[k] = row[k];
    key[kRowLength] = GameState;
    key[kRowLength + 1] = bestDepth == INT_MAX;
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
    lastShown = key;

    vsync();
    scare_mouse();
    acquire_screen();

    // Fixed areas only, never a full clear, so the dialog's buttons stay.
    drawBanner();
    drawFrame();
    for (int k = 0; k < kRowLength; ++k) {
        if (k < kRowLength - 1) drawSeparator(k);
        drawCounter(row[k], k);
    }
    drawStatus();

    release_screen();
    unscare_mouse();
}

void placeCounter(Row& row) { placeCounterAt(row, takeMousePress()); }

void pauseFor(int ms) {
    rest(ms);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    yield_timeslice();
#pragma GCC diagnostic pop
}
