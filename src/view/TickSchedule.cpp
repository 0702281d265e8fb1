#include "view/TickSchedule.h"

#include <algorithm>
#include <limits>

uint32_t TickSchedule::Start(uint32_t now) {
    m_Due = now + kPeriodMs;
    return kPeriodMs;
}

TickSchedule::Wakening TickSchedule::Advance(uint32_t now) {
    // Signed difference: the wrap of the millisecond counter is harmless.
    const auto late = static_cast<int32_t>(now - m_Due);
    uint32_t passed = 0;
    if (late > 0) {
        passed = (static_cast<uint32_t>(late) + kPeriodMs - 1) / kPeriodMs;
        m_Due += passed * kPeriodMs;
    }
    // Never more than a period: a clock that stands still (a test's) leaves the timer at 50 ms.
    const uint32_t delay = std::min(m_Due - now, kPeriodMs);
    return {delay, static_cast<int>(std::min<uint32_t>(passed, std::numeric_limits<int>::max()))};
}
