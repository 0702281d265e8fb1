#pragma once

#include "engine/SlaveProtocol.h"

#include <QByteArray>
#include <cstdint>

// The slave commands the transport queues; the player engine implements them. Each call only
// queues a command line, nothing waits for MPlayer.
class ISlaveCommands {
public:
    virtual ~ISlaveCommands() = default;
    // A command without an argument, as its row of the command table says.
    virtual void Send(SlaveCmd command) = 0;
    virtual void SetSpeed(int delay, int percent) = 0;
    virtual void SeekRelative(int seconds) = 0;
    virtual void SeekAbsolute(uint32_t seconds) = 0;
    virtual void ShowOsdText(const QByteArray& text) = 0;
};
