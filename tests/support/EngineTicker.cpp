#include "support/EngineTicker.h"

#include "engine/CMPlayerEngine.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>
#include <time.h>

qint64 EngineTicker::NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool EngineTicker::TickUntil(const std::function<bool()>& condition, int timeoutMs) {
    const qint64 deadline = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() >= deadline)
            return false;
        TickOnSchedule();
    }
    return true;
}

void EngineTicker::Ticks(int count) {
    for (int i = 0; i < count; ++i)
        TickOnSchedule();
}

void EngineTicker::TickOnSchedule() {
    const qint64 now = NowMs();
    m_nNextTickMs = std::max(m_nNextTickMs, now);
    std::this_thread::sleep_for(std::chrono::milliseconds(m_nNextTickMs - now));
    QCoreApplication::processEvents();
    m_TickTimes.push_back(NowMs());
    m_Engine.OnTimerTick();
    m_nNextTickMs += kTickMs;
}
