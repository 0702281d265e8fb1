#pragma once

#include "engine/PrepState.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

// Decides when a freshly started MPlayer has finished initialising: once it has used fewer than
// threshold x 4096 CPU cycles in one window of eight ticks. The window starts with MPlayer's
// first output byte; the tick counter is never reset, so the first window is 1 to 8 ticks long.
class ReadinessMeter {
public:
    using CycleReader = std::function<std::optional<uint64_t>()>;

    static constexpr uint32_t kDefaultThreshold = 2000;
    static constexpr int kTicksPerWindow = 8;
    static constexpr int kCycleUnitShift = 12; // the threshold counts units of 4096 cycles

    PrepState State() const { return m_State.load(); }
    void SetThreshold(uint32_t threshold) { mplayerPrepCycleTime.store(threshold); }

    // Back to NotStarted, for a launch or a quit.
    void Reset();

    // Reader thread, at every output byte: the first one starts Preparing with this baseline.
    void OnOutput(const CycleReader& readCycles);

    // User-interface thread, at every tick while Preparing.
    void OnTick(const CycleReader& readCycles);

private:
    std::atomic<PrepState> m_State{PrepState::NotStarted};
    std::atomic<uint64_t> m_BaselineCycles{0};
    std::atomic<uint32_t> mplayerPrepCycleTime{kDefaultThreshold};
    uint32_t m_TickCount = 0; // user-interface thread only
};
