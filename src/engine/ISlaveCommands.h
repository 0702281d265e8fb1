#pragma once

#include <QByteArray>
#include <cstdint>

// The slave commands the transport queues; the player engine implements them. Each call only
// queues a command line, nothing waits for MPlayer.
class ISlaveCommands {
public:
    virtual ~ISlaveCommands() = default;
    virtual void SetSpeed(int delay, int percent) = 0;
    virtual void SeekRelative(int seconds) = 0;
    virtual void SeekAbsolute(uint32_t seconds) = 0;
    virtual void ShowOsdText(const QByteArray& text) = 0;
    virtual void Pause() = 0;
    virtual void FrameStep() = 0;
    virtual void MuteOn() = 0;
    virtual void MuteOff() = 0;
    virtual void MuteOffAtStart() = 0;
    virtual void ScaleTempoOn() = 0;
    virtual void ClearAudioFilters() = 0;
    virtual void SwitchAudio() = 0;
    virtual void SelectSubtitle() = 0;
};
