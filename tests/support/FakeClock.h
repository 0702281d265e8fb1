#pragma once

#include "platform/IClock.h"

// A clock that moves only when the test moves it.
class FakeClock : public IClock {
public:
    uint32_t NowMs() override { return m_nNow; }
    void Advance(uint32_t ms) { m_nNow += ms; }
    void Set(uint32_t ms) { m_nNow = ms; }

private:
    uint32_t m_nNow = 1000;
};
