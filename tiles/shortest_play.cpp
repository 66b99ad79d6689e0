#include "tiles/shortest_play.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "tiles/solve_view.h"

ShortestShow shortestShow;

namespace {

std::int32_t placedCells[kCellCount];

// The tile slides into the gap beside it.
void slide(Board& board, int tile) {
    const CellPos from = board.findValue(tile);
    const CellPos gap = board.findValue(kBlank);
    board.cells[cellIndex(gap.col, gap.row)] = tile;
    board.cells[cellIndex(from.col, from.row)] = kBlank;
}

}  // namespace

void rememberPlaced(const Board& board) {
    std::copy(std::begin(board.cells), std::end(board.cells), placedCells);
}

bool shortestOffered() {
    return GameState == Solved || GameState == GaveUp || GameState == ShortestShown;
}

void playShortest(Board& board, SearchWatcher* watcher) {
    board.reset();
    std::copy(std::begin(placedCells), std::end(placedCells), board.cells);
    shortestShow = ShortestShow{};
    GameState = SeekingShortest;
    drawScreen(board);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point shown = Clock::now();
    const std::vector<std::uint8_t> moves = shortestSolution(positionOf(board), watcher);
    shortestShow.length = static_cast<int>(moves.size());

    // The search's time counts towards the placed position's pause, so that
    // the first move comes as soon as the pace allows.
    const auto searched =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown).count();
    if (searched < moveDelayMs) pauseFor(moveDelayMs - static_cast<int>(searched));

    GameState = PlayingShortest;
    for (const std::uint8_t tile : moves) {
        slide(board, tile);
        ++shortestShow.played;
        drawScreen(board);
        pauseFor(moveDelayMs);
    }
    GameState = ShortestShown;
}
