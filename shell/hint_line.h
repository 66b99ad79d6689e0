#pragma once
// The hint line: the one key that applies besides placing, and what it does,
// drawn in both programs in the strip between the banner and the board, which
// their screens otherwise leave white. The page shows the same offer as a
// button of its own.

// Latin-1, as the screens draw it.
constexpr char kHintRandom[] = "J - juhuslik seis";

// Where the line starts: under the banner's left end, halfway between the
// banner (down to y 62) and the highest thing drawn below it (y 100).
constexpr int kHintX = 25, kHintY = 67;

// Clears the strip and draws the line in it; "" leaves it white.
void drawHintLine(const char* line);
