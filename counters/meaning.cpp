#include "counters/meaning.h"

#include <climits>
#include <cstdio>

#include "counters/placement.h"
#include "counters/search.h"
#include "counters/texts.h"
#include "shell/hint_line.h"

const char* countersStatusLine(int* left) {
    *left = kStatusNarrowLeft;
    switch (GameState) {
        case Placing:
            *left = kStatusLeft;
            return kPlacingHelp;
        case Solving:
            return kSearching;
        // A search that found nothing leaves bestDepth untouched.
        case Solved:
            return bestDepth == INT_MAX ? kCountersUnsolvable : kCountersSolved;
        default:
            return "";
    }
}

ScreenMeaning countersMeaning(const Row& row) {
    ScreenMeaning m;
    int left = 0;
    std::snprintf(m.status, sizeof m.status, "%s", countersStatusLine(&left));
    // The only key besides placing is J, while placing.
    if (GameState == Placing) {
        std::snprintf(m.hint, sizeof m.hint, "%s", kHintRandom);
        m.offer = 'J';
    }
    m.cols = kRowLength;
    m.rows = 1;
    for (int k = 0; k < kRowLength; ++k) {
        CellMeaning& c = m.cells[k];
        const char* holds = row[k] == kWhiteCounter   ? kWhiteName
                            : row[k] == kBlackCounter ? kBlackName
                                                      : kEmptyName;
        std::snprintf(c.name, sizeof c.name, kCounterCellName, k + 1, holds);
        c.left = kCellInsideLeft + kCellPitch * k;
        c.top = kCellInsideTop;
        c.right = c.left + kCellInsideWidth - 1;
        c.bottom = kCellInsideBottom;
        // The hit boxes lie ten pixels left of the drawn cells; their middle
        // is inside both.
        hitBoxMiddle(k, 0, &c.x, &c.y);
    }
    if (GameState == Placing) m.cursor = countersCursor.col();
    return m;
}
