#pragma once
// Rows written cell 0 first: B black, W white, - empty.

#include <algorithm>
#include <string>
#include <vector>

#include "counters/row.h"

inline Row rowFrom(const std::string& text) {
    Row row;
    for (int i = 0; i < kRowLength; ++i) {
        row[i] = text[i] == 'B' ? kBlackCounter : text[i] == 'W' ? kWhiteCounter : kEmptyCell;
    }
    return row;
}

inline std::string textOf(const Row& row) {
    std::string text;
    for (int i = 0; i < kRowLength; ++i) {
        text += row[i] == kBlackCounter ? 'B' : row[i] == kWhiteCounter ? 'W' : '-';
    }
    return text;
}

// The 140 ways to place three whites, three blacks and one gap.
inline std::vector<std::string> allPlacements() {
    std::string text = "-BBBWWW";
    std::vector<std::string> all;
    do all.push_back(text);
    while (std::next_permutation(text.begin(), text.end()));
    return all;
}
