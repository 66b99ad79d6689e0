// Linked into the test build tiles_high only. Before anything else of the
// program runs, it reserves every free region of the address space below
// 4 GB and fills what the heaps already hold there, so that every
// allocation made later (the screen, bitmaps, the library's buffers) lies
// above 4 GB. An address that the library kept in a 32-bit integer then
// points nowhere: drawing through it crashes or draws garbage.
//
// When it cannot put a fresh allocation above 4 GB, the program ends with
// status 3 before it opens a window, so the check fails instead of passing
// without proving anything.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uintptr_t kFourGb = std::uintptr_t(1) << 32;

bool above4Gb(const void* p) { return reinterpret_cast<std::uintptr_t>(p) >= kFourGb; }

void reserveFreeRegionsBelow4Gb() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::uintptr_t granularity = system.dwAllocationGranularity;
    std::uintptr_t at = granularity;
    MEMORY_BASIC_INFORMATION region;
    while (at < kFourGb &&
           VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region) == sizeof region) {
        const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(region.BaseAddress);
        const std::uintptr_t end = base + region.RegionSize;
        if (region.State == MEM_FREE) {
            // Reservations start on the allocation granularity; a free
            // piece before the next boundary can hold no allocation anyway.
            const std::uintptr_t from = (base + granularity - 1) / granularity * granularity;
            const std::uintptr_t to = std::min(end, kFourGb);
            if (from < to)
                VirtualAlloc(reinterpret_cast<void*>(from), to - from, MEM_RESERVE, PAGE_NOACCESS);
        }
        at = end;
    }
}

// Takes blocks of falling sizes from a heap until the heap hands out one
// above 4 GB: then the room its segments below 4 GB had is used up. The
// blocks below stay taken for the whole run.
template <typename Allocate, typename Release>
bool fillBelow4Gb(Allocate allocate, Release release) {
    for (std::size_t size : {std::size_t(256) << 10, std::size_t(16) << 10, std::size_t(1) << 10,
                             std::size_t(64), std::size_t(16)}) {
        for (int i = 0; i < 1 << 20; ++i) {
            void* p = allocate(size);
            if (p == nullptr) return false;
            if (above4Gb(p)) {
                release(p);
                break;
            }
        }
    }
    void* probe = allocate(16);
    const bool high = above4Gb(probe);
    release(probe);
    return high;
}

__attribute__((constructor(101))) void moveAllocationsAbove4Gb() {
    reserveFreeRegionsBelow4Gb();
    const HANDLE processHeap = GetProcessHeap();
    const bool crtHigh =
        fillBelow4Gb([](std::size_t n) { return std::malloc(n); }, [](void* p) { std::free(p); });
    const bool processHigh =
        fillBelow4Gb([processHeap](std::size_t n) { return HeapAlloc(processHeap, 0, n); },
                     [processHeap](void* p) { HeapFree(processHeap, 0, p); });
    if (!crtHigh || !processHigh) ExitProcess(3);
}

}  // namespace
