#pragma once

// The two beeps the program makes: a refused action, and a start MPlayer never confirmed.
enum BeepType : unsigned { BEEP_DEFAULT = 0, BEEP_HAND = 0x10 };

class IBeeper {
public:
    virtual ~IBeeper() = default;
    virtual void Beep(BeepType type) = 0;
};
