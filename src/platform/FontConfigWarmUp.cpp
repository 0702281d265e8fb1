#include "platform/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

FontConfigWarmUp::FontConfigWarmUp() {
    try {
        m_Thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without the thread the first text measured loads them, as it always could.
    }
}

FontConfigWarmUp::~FontConfigWarmUp() {
    Wait();
}

void FontConfigWarmUp::Wait() {
    if (m_Thread.joinable())
        m_Thread.join();
}
