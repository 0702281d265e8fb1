#pragma once

#include "engine/SlaveProtocol.h"

#include <QString>
#include <cstdint>

// What a playback session needs of the player: whether it takes a file now, and the commands
// that start, question and stop one. Each command only queues its line.
class IPlayerControl {
public:
    virtual ~IPlayerControl() = default;
    virtual bool IsReady() const = 0;
    // Queues nothing and returns false for a path that cannot be sent safely.
    virtual bool LoadFile(const QString& path) = 0;
    // A command without an argument: the length and position queries, the stop.
    virtual void Send(SlaveCmd command) = 0;
    virtual void SeekAbsolute(uint32_t seconds) = 0;
    // Lines queued and not yet written: MPlayer has not been asked them yet.
    virtual bool HasQueuedCommands() const = 0;
};
