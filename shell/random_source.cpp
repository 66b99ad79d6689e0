#include "shell/random_source.h"

#include <chrono>

namespace {

// The wall clock differs between runs; the steady clock's nanoseconds add
// what two starts within one tick of the wall clock do not share.
std::mt19937 seededFromClock() {
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<unsigned>(wall), static_cast<unsigned>(wall >> 32),
                      static_cast<unsigned>(steady), static_cast<unsigned>(steady >> 32)};
    return std::mt19937(seq);
}

std::mt19937 source = seededFromClock();

}  // namespace

std::mt19937& randomSource() { return source; }
