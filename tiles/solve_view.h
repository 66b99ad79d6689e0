#pragma once
// The one seam between the solver and the window. The program links the
// window versions (screen.cpp); tests and benchmarks link stand-ins that
// count redraws and pauses instead of drawing and waiting.

struct Board;

void drawScreen(const Board& board);
void pauseFor(int ms);
