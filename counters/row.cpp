#include "counters/row.h"

int GameState = Idle;
int whiteCount = 0;
int blackCount = 0;

void Row::clear() {
    for (std::int32_t& cell : cells) cell = kEmptyCell;
}
