#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// What the benchmarks read about a process from outside: its processor time, its memory and
// its children, and the monotonic clock every figure is taken on.
namespace ProcessProbe {

// CLOCK_MONOTONIC in milliseconds (the fake player records arrivals on the same clock).
double NowMs();

// Processor time of every thread so far, in nanosecond resolution.
std::optional<double> CpuMs(pid_t pid);
// The same from utime + stime of /proc/<pid>/stat, in clock ticks (10 ms on most systems).
std::optional<double> StatCpuMs(pid_t pid);
// Resident memory (VmRSS) in MiB.
std::optional<double> ResidentMiB(pid_t pid);
// The most it has been resident so far (VmHWM) in MiB.
std::optional<double> PeakResidentMiB(pid_t pid);
std::vector<pid_t> Children(pid_t pid);
// The name the kernel knows the process by (/proc/<pid>/comm, at most 15 characters).
std::string CommandName(pid_t pid);

} // namespace ProcessProbe
