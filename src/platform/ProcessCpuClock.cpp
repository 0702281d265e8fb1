#include "platform/ProcessCpuClock.h"

#include <time.h>

std::optional<uint64_t> ProcessCpuClock::Cycles(pid_t pid) {
    // The process clock sums every thread, unlike /proc/<pid>/schedstat (the main thread only).
    clockid_t clock{};
    if (clock_getcpuclockid(pid, &clock) != 0)
        return std::nullopt;
    timespec used{};
    if (clock_gettime(clock, &used) != 0)
        return std::nullopt;
    const auto nanoseconds = static_cast<unsigned __int128>(used.tv_sec) * 1'000'000'000u +
                             static_cast<unsigned __int128>(used.tv_nsec);
    return static_cast<uint64_t>(nanoseconds * kNominalCyclesPerSecond / 1'000'000'000u);
}
