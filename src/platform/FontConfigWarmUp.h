#pragma once

#include <thread>

// Loads fontconfig's configuration and font caches on a thread of its own while the display
// connection is being made. The first text measured would otherwise wait for them on the
// user-interface thread, several milliseconds before the window could appear. fontconfig makes
// its first initialisation safe from any thread.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Before anything measures text: a measurement meanwhile would load them a second time.
    void Wait();

private:
    std::thread m_Thread;
};
