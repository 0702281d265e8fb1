#include "engine/ReadinessMeter.h"

void ReadinessMeter::Reset() {
    m_State.store(PrepState::NotStarted);
}

void ReadinessMeter::OnOutput(const CycleReader& readCycles) {
    if (m_State.load() != PrepState::NotStarted)
        return;
    // The baseline is stored before the state, so the tick never sees Preparing without it.
    m_BaselineCycles.store(readCycles().value_or(0));
    m_State.store(PrepState::Preparing);
}

void ReadinessMeter::OnTick(const CycleReader& readCycles) {
    if (m_State.load() != PrepState::Preparing)
        return;
    if (++m_TickCount % kTicksPerWindow != 0)
        return;
    const std::optional<uint64_t> cycles = readCycles();
    if (!cycles)
        return; // the process is gone; its death is reported by the reader
    const auto used = static_cast<uint32_t>((*cycles - m_BaselineCycles.load()) >> kCycleUnitShift);
    m_BaselineCycles.store(*cycles);
    if (used < mplayerPrepCycleTime.load())
        m_State.store(PrepState::Ready);
}
