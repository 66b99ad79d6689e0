#include "shell/mouse_latch.h"

namespace {

// One 64-bit word so that buttons and position change together:
// bits 0..15 buttons, 16..39 x + 2^23, 40..63 y + 2^23 (the pointer may be
// reported a little outside the window).
constexpr std::int64_t kBias = 1 << 23;
constexpr std::uint64_t kFieldMask = (1u << 24) - 1;

std::uint64_t pack(int buttons, int x, int y) {
    return (std::uint64_t(buttons) & 0xffff) |
           ((std::uint64_t(std::int64_t(x) + kBias) & kFieldMask) << 16) |
           ((std::uint64_t(std::int64_t(y) + kBias) & kFieldMask) << 40);
}

}  // namespace

void MouseLatch::press(int buttons, int x, int y) {
    if ((buttons & 0xffff) == 0) return;
    std::uint64_t old = word_.load();
    for (;;) {
        std::uint64_t next = (old & 0xffff) == 0 ? pack(buttons, x, y) : old | (buttons & 0xffff);
        if (word_.compare_exchange_weak(old, next)) return;
    }
}

MousePress MouseLatch::take() {
    std::uint64_t w = word_.exchange(0);
    MousePress p;
    p.buttons = int(w & 0xffff);
    if (p.buttons == 0) return p;
    p.x = int(std::int64_t((w >> 16) & kFieldMask) - kBias);
    p.y = int(std::int64_t((w >> 40) & kFieldMask) - kBias);
    return p;
}
