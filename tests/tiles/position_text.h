#pragma once
// Positions written the way people read them: rows from the top separated by
// '/', cells by spaces, '_' for the blank. "1 2 3 4/5 6 7 8/9 10 11 12/13 14 15 _"

#include <cstring>
#include <sstream>
#include <string>

#include "tiles/board.h"

inline Board boardFrom(const std::string& text) {
    Board board{};
    board.reset();
    std::string spaced = text;
    for (char& ch : spaced) {
        if (ch == '/') ch = ' ';
    }
    std::istringstream in(spaced);
    std::string word;
    int at = 0;
    while (in >> word && at < kCellCount) {
        int col = at % kBoardSide;
        int row = at / kBoardSide;
        board.cells[cellIndex(col, row)] = word == "_" ? kBlank : std::stoi(word);
        ++at;
    }
    return board;
}

inline std::string textOf(const Board& board) {
    std::string out;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int col = 0; col < kBoardSide; ++col) {
            int v = board.cells[cellIndex(col, row)];
            if (col > 0) out += ' ';
            out += v == kBlank ? std::string("_") : std::to_string(v);
        }
        if (row < kBoardSide - 1) out += '/';
    }
    return out;
}

inline bool sameCells(const Board& a, const Board& b) {
    return std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}
