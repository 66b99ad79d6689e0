#include "tiles/screen.h"

#include <array>
#include <chrono>
#include <optional>

#include "shell/hint_line.h"
#include "shell/shell.h"
#include "tiles/meaning.h"
#include "tiles/placement.h"
#include "tiles/shortest_play.h"
#include "tiles/texts.h"

// The texts are printed with the library's older text calls, which draw on
// the opaque white background chosen at start-up.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

int black() { return makecol(0, 0, 0); }
int white() { return makecol(255, 255, 255); }

// Frame bars around the board: left, right, top, bottom.
struct Bar {
    int x1, y1, x2, y2;
};
const Bar kFrame[] = {
    {210, 100, 215, 375},
    {480, 100, 485, 375},
    {210, 100, 485, 105},
    {210, 370, 485, 375},
};

void drawStatus(const char* line) {
    // Cleared first so that a shorter line leaves nothing of a longer one.
    rectfill(screen, kTilesStatusX, kTilesStatusY, 640, 480, white());
    if (line[0] != '\0')
        textprintf(screen, font, kTilesStatusX, kTilesStatusY, black(), "%s", line);
}

// The keyboard's cursor: a black ring, 3 pixels wide, inside the cell's
// white and clear of its label. The cell's own redraw wipes it.
void drawCursor(int col, int row) {
    const int x = kCellPitch * col, y = kCellPitch * row;
    for (int i = 0; i < 3; ++i)
        rect(screen, 226 + x + i, 116 + y + i, 274 + x - i, 164 + y - i, black());
}

}  // namespace

void drawCell(int value, int col, int row) {
    int x = kCellPitch * col;
    int y = kCellPitch * row;
    if (value == kBlank) {
        // The blank has no border: it is a white gap in the board.
        rectfill(screen, 220 + x, 110 + y, 280 + x, 170 + y, white());
        return;
    }
    rectfill(screen, 220 + x, 110 + y, 280 + x, 170 + y, black());
    rectfill(screen, 223 + x, 113 + y, 277 + x, 167 + y, white());
    int textTop = 140 + y - text_height(font) / 2;
    if (value == kUnplaced) {
        textprintf_centre(screen, font, 250 + x, textTop, black(), kUnplacedLabel);
    } else {
        textprintf_centre(screen, font, 250 + x, textTop, black(), "%d", value);
    }
}

namespace {

// Everything a redraw's pixels depend on: the cells, the status line's
// state and numbers, and the keyboard's cursor. The hint line follows the
// state.
constexpr int kKeyCursor = kCellCount + 3;
using ShownKey = std::array<int, kCellCount + 8>;

// The cursor's cell in reading order while it is drawn, else -1: only while
// placing, and only once a key has been used.
int cursorDrawn() {
    if (GameState != Placing || !tilesCursor.shown()) return -1;
    return tilesCursor.row() * kBoardSide + tilesCursor.col();
}

ShownKey shownKey(const Board& board) {
    ShownKey key{};
    for (int i = 0; i < kCellCount; ++i) key[i] = board.cells[i];
    key[kCellCount] = GameState;
    key[kCellCount + 1] = nextTile;
    key[kCellCount + 2] = stepIndex;
    key[kKeyCursor] = cursorDrawn();
    key[kCellCount + 4] = shortestShow.bound;
    key[kCellCount + 5] = shortestShow.announced;
    key[kCellCount + 6] = shortestShow.played;
    key[kCellCount + 7] = shortestShow.length;
    return key;
}

// What the screen shows now. Nothing else paints these areas (the dialog only
// draws its buttons), so a redraw with the same key would put the same pixels
// on the screen; the placing loop asks for one twenty times a second.
std::optional<ShownKey> lastShown;

}  // namespace

// Never clears the whole screen: the menu buttons drawn by the dialog
// manager must stay visible under and between games.
void drawScreen(const Board& board) {
    const ShownKey key = shownKey(board);
    if (lastShown == key) return;
    lastShown = key;

    vsync();
    scare_mouse();
    acquire_screen();

    textout(screen, font, kTilesBanner, kTilesBannerX, kTilesBannerY, black());
    for (const Bar& bar : kFrame) rectfill(screen, bar.x1, bar.y1, bar.x2, bar.y2, black());
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            drawCell(board.cells[cellIndex(col, row)], col, row);
        }
    }
    if (key[kKeyCursor] >= 0) drawCursor(tilesCursor.col(), tilesCursor.row());
    const ScreenMeaning meaning = tilesMeaning(board);
    drawHintLine(meaning.hint);
    drawStatus(meaning.status);

    release_screen();
    unscare_mouse();
    tellScreen(meaning);
}

#pragma GCC diagnostic pop

void placeTile(Board& board) {
    InputQueue::Batch events;
    placeTilesFrom(board, events.data(), takeInput(events));
}

void pauseFor(int ms) { rest(ms); }

namespace {

// The search holds the program's thread. It says how far it is: the status
// line tells of a search that has run longer than a redraw, and each bound
// it passes then; and the platform gets its turn now and then.
class ScreenWatcher : public SearchWatcher {
public:
    explicit ScreenWatcher(const Board& board) : board_(board) {}

    void buildingTables() override { tick(); }
    void boundPassed(int moves) override {
        shortestShow.bound = moves;
        tick();
    }
    void stillSearching() override { tick(); }

private:
    using Clock = std::chrono::steady_clock;
    // About one frame: a search that ends sooner is never mentioned.
    static constexpr auto kLongerThanARedraw = std::chrono::milliseconds(20);
    // Far under the 200 ms a page may hold its thread, and few enough turns
    // that they cost the search little.
    static constexpr auto kAliveEvery = std::chrono::milliseconds(50);

    void tick() {
        const Clock::time_point now = Clock::now();
        if (now - lastAlive_ >= kAliveEvery) {
            keepWindowAlive();
            lastAlive_ = now;
        }
        if (now - start_ >= kLongerThanARedraw) {
            shortestShow.announced = true;
            // Draws only when the line changed: the first time, and once a
            // bound.
            drawScreen(board_);
        }
    }

    const Board& board_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point lastAlive_ = start_;
};

}  // namespace

void showShortest(Board& board) {
    ScreenWatcher watcher(board);
    playShortest(board, &watcher);
}
