#pragma once

#include <cstdint>

// The view's 50 ms heartbeat runs only while there is work, yet keeps one grid of ticks from its
// first start: a tick that comes back after a sleep comes at the moment it would have come had
// the timer run on. Times are the injected clock's milliseconds (wrapping like a 32-bit counter).
class TickSchedule {
public:
    static constexpr uint32_t kPeriodMs = 50;

    struct Wakening {
        uint32_t delayMs; // to the first tick of the grid still to come
        int missed;       // ticks of the grid that passed during the sleep
    };

    // The first tick: one period after now. Returns the delay in ms.
    uint32_t Start(uint32_t now);
    // The tick that was due runs now.
    void TickRan() { m_Due += kPeriodMs; }
    // After a tick, the delay to the next one. A late tick does not move the grid, and ticks
    // lost to a long one are skipped, as a periodic timer skips them.
    uint32_t Next(uint32_t now) { return Advance(now).delayMs; }
    // Waking after a sleep.
    Wakening Wake(uint32_t now) { return Advance(now); }

private:
    Wakening Advance(uint32_t now);

    uint32_t m_Due = 0; // the grid time of the next tick
};
