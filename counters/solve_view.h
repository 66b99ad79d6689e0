#pragma once
// The one seam between the playback and the window. The program links the
// window versions (screen.cpp); tests and benchmarks link stand-ins that
// count redraws and pauses instead of drawing and waiting.

struct Row;

void drawScreen(const Row& row);
void pauseFor(int ms);
