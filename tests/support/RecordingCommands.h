#pragma once

#include "engine/ISlaveCommands.h"

#include <QStringList>
#include <utility>

// Records every queued command as one readable line.
class RecordingCommands : public ISlaveCommands {
public:
    QStringList Take() { return std::exchange(m_Queued, {}); }

    void SetSpeed(int delay, int percent) override {
        m_Queued << QStringLiteral("speed %1 delay %2").arg(percent).arg(delay);
    }
    void SeekRelative(int seconds) override { m_Queued << QStringLiteral("seek %1").arg(seconds); }
    void SeekAbsolute(uint32_t seconds) override {
        m_Queued << QStringLiteral("seek to %1").arg(seconds);
    }
    void ShowOsdText(const QByteArray& text) override {
        m_Queued << QStringLiteral("osd ") + QString::fromLatin1(text);
    }
    void Send(SlaveCmd command) override { m_Queued << Label(command); }

private:
    static QString Label(SlaveCmd command) {
        // clang-format off
        switch (command) {
        case SlaveCmd::GetTimePos: return "get_time_pos";
        case SlaveCmd::GetTimeLength: return "get_time_length";
        case SlaveCmd::Pause: return "pause";
        case SlaveCmd::FrameStep: return "frame_step";
        case SlaveCmd::MuteOn: return "mute 1";
        case SlaveCmd::MuteOff: return "mute 0";
        case SlaveCmd::MuteOffAtStart: return "mute 0 at once";
        case SlaveCmd::ScaleTempoOn: return "scaletempo";
        case SlaveCmd::ClearAudioFilters: return "af_clr";
        case SlaveCmd::SwitchAudio: return "switch_audio";
        case SlaveCmd::SelectSubtitle: return "sub_select";
        case SlaveCmd::Stop: return "stop";
        }
        // clang-format on
        return "?";
    }

protected:
    QStringList m_Queued;
};
