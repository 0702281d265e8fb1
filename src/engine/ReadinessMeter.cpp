#include "engine/ReadinessMeter.h"

void ReadinessMeter::Reset() {
    m_State.store(PrepState::NotStarted);
}

void ReadinessMeter::OnOutput(const CycleReader& readCycles) {
    if (m_State.load() != PrepState::NotStarted)
        return;
    // The baseline is stored before the state, so the tick never sees Preparing without it.
    m_nBaselineCycles.store(readCycles().value_or(0));
    m_State.store(PrepState::Preparing);
}

void ReadinessMeter::OnTick(const CycleReader& readCycles) {
    if (m_State.load() != PrepState::Preparing)
        return;
    if (++m_nTickCount % kTicksPerWindow != 0)
        return;
    const std::optional<uint64_t> cycles = readCycles();
    if (!cycles)
        return; // the process is gone; its death is reported by the reader
    const auto used =
        static_cast<uint32_t>((*cycles - m_nBaselineCycles.load()) >> kCycleUnitShift);
    m_nBaselineCycles.store(*cycles);
    if (used < m_nThreshold.load())
        m_State.store(PrepState::Ready);
}
