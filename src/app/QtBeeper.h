#pragma once

#include "platform/IBeeper.h"

// The desktop's own beep; both kinds sound alike here.
class QtBeeper : public IBeeper {
public:
    void Beep(BeepType type) override;
};
