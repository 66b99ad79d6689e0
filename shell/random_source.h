#pragma once
// The one random source of a run, for the random position.

#include <random>

// Seeded from the clock when the program starts, reading no file, so that
// two runs differ.
std::mt19937& randomSource();
