#pragma once

#include <QtGlobal>
#include <functional>
#include <vector>

class CMPlayerEngine;

// Plays the view's 50 ms timer for engine tests: ticks on a fixed schedule and remembers when
// each tick ran (CLOCK_MONOTONIC milliseconds, the fake player's clock).
class EngineTicker {
public:
    static constexpr int kTickMs = 50;

    explicit EngineTicker(CMPlayerEngine& engine) : m_Engine(engine) {}

    // Ticks until the condition holds (checked before each tick) or the time is up.
    bool TickUntil(const std::function<bool()>& condition, int timeoutMs);
    void Ticks(int count);

    const std::vector<qint64>& TickTimes() const { return m_TickTimes; }
    static qint64 NowMs();

private:
    void TickOnSchedule();

    CMPlayerEngine& m_Engine;
    std::vector<qint64> m_TickTimes;
    qint64 m_nNextTickMs = 0;
};
