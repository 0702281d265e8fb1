#pragma once

#include <cstdint>

// A monotonic millisecond tick that wraps like a 32-bit counter; tests move it by hand.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t NowMs() = 0;
};
