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
    void Pause() override { m_Queued << "pause"; }
    void FrameStep() override { m_Queued << "frame_step"; }
    void MuteOn() override { m_Queued << "mute 1"; }
    void MuteOff() override { m_Queued << "mute 0"; }
    void MuteOffAtStart() override { m_Queued << "mute 0 at once"; }
    void ScaleTempoOn() override { m_Queued << "scaletempo"; }
    void ClearAudioFilters() override { m_Queued << "af_clr"; }
    void SwitchAudio() override { m_Queued << "switch_audio"; }
    void SelectSubtitle() override { m_Queued << "sub_select"; }

protected:
    QStringList m_Queued;
};
