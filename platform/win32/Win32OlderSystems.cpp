// The thread library the compiler links in calls GetTickCount64, which Windows XP lacks, through
// its import pointer. Defining that pointer here keeps the import out of the executable; the call
// then reaches the system's function where there is one.
#include "platform/win32/Win32SystemEntry.h"

#include <atomic>
#include <cstdint>

namespace {

ULONGLONG WINAPI TickCount64()
{
    using TickCount64Fn = ULONGLONG(WINAPI*)();
    static const auto system = platform::SystemEntry<TickCount64Fn>(L"kernel32.dll", "GetTickCount64");
    if (system)
        return system();
    // The 32-bit count with its wraps added; callers measure intervals far shorter than 49 days.
    static std::atomic<uint64_t> last{0};
    uint64_t previous = last.load();
    for (;;) {
        uint64_t now = (previous & ~uint64_t{0xFFFFFFFF}) | GetTickCount();
        if (now < previous)
            now += uint64_t{1} << 32;
        if (last.compare_exchange_weak(previous, now))
            return now;
    }
}

} // namespace

extern "C" ULONGLONG(WINAPI* const qsTickCount64Import)() __asm__("__imp__GetTickCount64@0") = TickCount64;
