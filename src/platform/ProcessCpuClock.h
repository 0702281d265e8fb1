#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

// The CPU time a process has used so far, counted in cycles of one fixed nominal clock rate.
//
// Linux reports CPU time, not cycles. The readiness threshold (setting "MPPrepCycleTime",
// 500..50000, default 2000, in units of 4096 cycles per 400 ms window) is therefore read at a
// nominal 1 GHz: one cycle per nanosecond. The default then means "under 8.2 ms of CPU in
// 400 ms" (2 %). Measured with MPlayer 1.5 on our 2-core machine: it initialises at full load
// for 150-250 ms of CPU, writes its first byte only at the end of that (its output is buffered),
// and then idles at 1-1.5 ms per 400 ms (with vo=null and with X11 output into a window alike).
// So it is Ready at the first window after its first byte: about 0.6 s after the start on a
// quiet machine, 1.0-1.1 s under a load average of 10. At the 3 GHz of a desktop CPU the lowest
// setting, 500, would ask for under 0.7 ms per window, which an idle MPlayer here never reaches;
// at 1 GHz every setting of the range stays meaningful.
class ProcessCpuClock {
public:
    static constexpr uint64_t kNominalCyclesPerSecond = 1'000'000'000;

    // Nothing when the process cannot be measured (gone, or not ours to see).
    static std::optional<uint64_t> Cycles(pid_t pid);
};
