#include "tiles/meaning.h"

#include <cstdio>

#include "shell/hint_line.h"
#include "tiles/placement.h"
#include "tiles/shortest_play.h"
#include "tiles/texts.h"

void tilesStatusLine(char* out, int size) {
    out[0] = '\0';
    switch (GameState) {
        case Placing:
            std::snprintf(out, size, kAskNumber, nextTile);
            break;
        case Solving:
            // Past the script's last row the step names no tile: no line.
            if (kSolveScript[stepIndex].tile > 0) {
                std::snprintf(out, size, kBringing, kSolveScript[stepIndex].tile);
            }
            break;
        case Unsolvable:
            std::snprintf(out, size, "%s", kTilesUnsolvable);
            break;
        case Solved:
            std::snprintf(out, size, "%s", kTilesSolved);
            break;
        case GaveUp:
            std::snprintf(out, size, kGaveUp, stepIndex);
            break;
        // Nothing is said of a search too short to be seen.
        case SeekingShortest:
            if (!shortestShow.announced) break;
            if (shortestShow.bound == 1) {
                std::snprintf(out, size, "%s", kSeekingAtLeastOne);
            } else if (shortestShow.bound > 1) {
                std::snprintf(out, size, kSeekingAtLeast, shortestShow.bound);
            } else {
                std::snprintf(out, size, "%s", kSeeking);
            }
            break;
        case PlayingShortest:
            std::snprintf(out, size, kShortestMove, shortestShow.played, shortestShow.length);
            break;
        case ShortestShown:
            std::snprintf(out, size, kShortestSolved, shortestShow.length);
            break;
        default:
            break;
    }
}

char tilesOffer() {
    if (GameState == Placing) return 'J';
    return shortestOffered() ? 'N' : 0;
}

const char* tilesHintLine() {
    switch (tilesOffer()) {
        case 'J':
            return kHintRandom;
        case 'N':
            return kHintShortest;
        default:
            return "";
    }
}

ScreenMeaning tilesMeaning(const Board& board) {
    ScreenMeaning m;
    tilesStatusLine(m.status, sizeof m.status);
    std::snprintf(m.hint, sizeof m.hint, "%s", tilesHintLine());
    m.offer = tilesOffer();
    m.cols = kBoardSide;
    m.rows = kBoardSide;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            CellMeaning& c = m.cells[row * kBoardSide + col];
            const int value = board.cells[cellIndex(col, row)];
            char holds[16];
            if (value == kUnplaced) {
                std::snprintf(holds, sizeof holds, "%s", kCellUnplacedName);
            } else if (value == kBlank) {
                std::snprintf(holds, sizeof holds, "%s", kCellBlankName);
            } else {
                std::snprintf(holds, sizeof holds, "%d", value);
            }
            std::snprintf(c.name, sizeof c.name, kCellName, row + 1, col + 1, holds);
            c.left = kBoardLeft + kCellPitch * col;
            c.top = kBoardTop + kCellPitch * row;
            c.right = c.left + kCellSpan;
            c.bottom = c.top + kCellSpan;
            c.x = c.left + kCellSpan / 2;
            c.y = c.top + kCellSpan / 2;
        }
    }
    if (GameState == Placing) m.cursor = tilesCursor.row() * kBoardSide + tilesCursor.col();
    return m;
}
