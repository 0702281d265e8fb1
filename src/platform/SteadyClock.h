#pragma once

#include "platform/IClock.h"

// Milliseconds of CLOCK_MONOTONIC, truncated to 32 bits.
class SteadyClock : public IClock {
public:
    uint32_t NowMs() override;
};
