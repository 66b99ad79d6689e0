#pragma once
// Reference pictures drawn with the programs' own font, independently of the
// programs: what a text must look like at a given place on the white screen.

#include <string>

#include "x_harness.h"

// Renders `text` (Latin-1) in black on white with its left end at (x, y) into
// a white 640x480 picture. centred: x is the centre instead.
Shot referenceText(const std::string& text, int x, int y, bool centred = false);

// Height of the font, from the datafile.
int referenceFontHeight();

// The cell (col, row) of the tiles board showing `value` (-1 unplaced,
// 0 blank, else a number), drawn into a white 640x480 picture.
Shot referenceTilesCell(int value, int col, int row);

// Cell `index` (0..6) of the counters row showing `content` (0 empty, 1 black,
// 2 white), drawn into a white 640x480 picture.
Shot referenceCounter(int content, int index);

// The hint line between the banner and the board, the same in both
// programs: `text` (Latin-1) where it starts, and nothing else in its strip;
// "" for none.
bool hintShows(const Shot& shot, const std::string& text);
