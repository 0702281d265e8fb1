#include "view/Transport.h"

#include "engine/ISlaveCommands.h"
#include "resources/CommandIds.h"

namespace {

struct LevelCommand {
    int command;
    int level;
};

constexpr LevelCommand kLevelCommands[] = {
    {ID_REW_X120, Transport::RewindX120},      {ID_REW_X40, Transport::RewindX40},
    {ID_REW_X12, Transport::RewindX12},        {ID_REW_X4, Transport::RewindX4},
    {ID_SPEED_X1_20, Transport::SpeedX1_20},   {ID_SPEED_X1_10, Transport::SpeedX1_10},
    {ID_SPEED_X1_5TH, Transport::SpeedX1_5th}, {ID_SPEED_X1_2, Transport::SpeedX1_2},
    {ID_SPEED_NORMAL, Transport::Normal},      {ID_SPEED_X1_5, Transport::SpeedX1_5},
    {ID_SPEED_X2, Transport::SpeedX2},         {ID_FF_X4, Transport::ForwardX4},
    {ID_FF_X12, Transport::ForwardX12},        {ID_FF_X40, Transport::ForwardX40},
    {ID_FF_X120, Transport::ForwardX120},
};

constexpr const char* kLevelLabels[Transport::LevelCount] = {
    "<<x120", "<<x40", "<<x12", "<<x4", "",     "",      "",      "",
    "",       "",      "",      "",     ">>x4", ">>x12", ">>x40", ">>x120"};

// Fast forward and rewind run at 1 % with a seek every step.
constexpr int kSeekPlaybackPercent = 1;
// A slow speed follows the mute by three ticks, about 200 ms.
constexpr int kAfterMuteDelay = 3;

} // namespace

QByteArray Transport::LevelLabel(int level) {
    if (level < 0 || level >= LevelCount)
        return {};
    return kLevelLabels[level];
}

int Transport::LevelForCommand(int commandId) {
    for (const LevelCommand& row : kLevelCommands) {
        if (row.command == commandId)
            return row.level;
    }
    return NoLevel;
}

void Transport::ApplySpeed(int percent) {
    if (percent < 100 || percent > 200) {
        if (!m_bMuted) {
            m_Commands.Send(SlaveCmd::MuteOn);
            m_bMuted = true;
        }
        m_Commands.SetSpeed(kAfterMuteDelay, percent);
        return;
    }
    m_Commands.SetSpeed(0, percent);
    if (percent == 100)
        m_Commands.Send(SlaveCmd::ClearAudioFilters);
    else
        m_Commands.Send(SlaveCmd::ScaleTempoOn);
    if (m_bMuted) {
        m_Commands.Send(SlaveCmd::MuteOff);
        m_bMuted = false;
    }
}

void Transport::ShowLevelIndicator() {
    const QByteArray label = LevelLabel(m_nSpeedMode);
    if (!label.isEmpty())
        m_Commands.ShowOsdText(label);
}

void Transport::TogglePause() {
    if (m_nSpeedMode != Normal) {
        EnterSpeedLevel(Normal);
        return;
    }
    if (!m_bMuted) {
        m_Commands.Send(SlaveCmd::MuteOn);
        m_bMuted = true;
    }
    m_nSpeedMode = Paused;
    m_Commands.Send(SlaveCmd::Pause);
}

void Transport::SelectLevel(int level) {
    if (IsSeekLevel(level))
        EnterSeekLevel(level);
    else if (IsSpeedLevel(level) && level != Paused)
        EnterSpeedLevel(level);
}

void Transport::SpeedStepDown() {
    if (m_nSpeedMode <= RewindX120)
        return;
    EnterSeekLevel(m_nSpeedMode <= RewindX4 ? m_nSpeedMode - 1 : RewindX4);
}

void Transport::SpeedStepUp() {
    if (m_nSpeedMode >= ForwardX120)
        return;
    // From rewind straight to x1.5, never through the normal speed.
    const int level = m_nSpeedMode <= RewindX4 ? SpeedX1_5 : m_nSpeedMode + 1;
    if (IsSeekLevel(level))
        EnterSeekLevel(level);
    else
        EnterSpeedLevel(level);
}

void Transport::SkipForward(int seconds) {
    if (m_nSpeedMode == Normal)
        m_Commands.SeekRelative(seconds);
}

void Transport::SkipBack(int seconds) {
    if (m_nSpeedMode == Normal)
        m_Commands.SeekRelative(-seconds);
}

void Transport::SeekToStart() {
    if (m_nSpeedMode == Normal)
        m_Commands.SeekAbsolute(0);
}

void Transport::FrameStep() {
    if (m_nSpeedMode == Paused)
        m_Commands.Send(SlaveCmd::FrameStep);
}

void Transport::SwitchAudio() {
    if (m_nSpeedMode == Normal)
        m_Commands.Send(SlaveCmd::SwitchAudio);
}

void Transport::SelectSubtitle() {
    if (m_nSpeedMode == Normal)
        m_Commands.Send(SlaveCmd::SelectSubtitle);
}

void Transport::OnSeekTick() {
    if (++m_SeekTicks < kTicksPerSeekStep)
        return;
    m_SeekTicks = 0;
    if (IsSeekLevel(m_nSpeedMode))
        m_Commands.SeekRelative(SpeedTable[m_nSpeedMode]);
}

void Transport::SkipSeekTicks(int ticks) {
    m_SeekTicks = (m_SeekTicks + ticks % kTicksPerSeekStep) % kTicksPerSeekStep;
}

void Transport::ResetForStart() {
    m_nSpeedMode = Normal;
    if (m_bMuted)
        m_Commands.Send(SlaveCmd::MuteOffAtStart);
    m_bMuted = false;
}

void Transport::EnterSpeedLevel(int level) {
    m_nSpeedMode = level;
    ApplySpeed(SpeedTable[level]);
}

void Transport::EnterSeekLevel(int level) {
    const bool fromSpeedLevel = IsSpeedLevel(m_nSpeedMode);
    m_nSpeedMode = level;
    // Between two seek levels the player already runs at 1 % and muted.
    if (fromSpeedLevel)
        ApplySpeed(kSeekPlaybackPercent);
    ShowLevelIndicator();
}
