#pragma once

#include "platform/IBeeper.h"

#include <vector>

// Remembers every beep instead of sounding it.
class CountingBeeper : public IBeeper {
public:
    void Beep(BeepType type) override { beeps.push_back(type); }
    std::vector<BeepType> beeps;
};
