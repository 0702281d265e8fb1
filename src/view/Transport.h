#pragma once

#include <QByteArray>
#include <array>

class ISlaveCommands;

// Pause, speeds, emulated fast forward and rewind, skips and frame steps of the file being
// played. The view calls every operation only while a file plays (its own guard); the level
// guards are checked here, and a failed guard does nothing.
class Transport {
public:
    // The levels from the fastest rewind to the fastest forward; SpeedMode() is one of them.
    enum Level : int {
        NoLevel = -1,
        RewindX120,
        RewindX40,
        RewindX12,
        RewindX4,
        Paused, // also: nothing plays
        SpeedX1_20,
        SpeedX1_10,
        SpeedX1_5th,
        SpeedX1_2,
        Normal,
        SpeedX1_5,
        SpeedX2,
        ForwardX4,
        ForwardX12,
        ForwardX40,
        ForwardX120,
        LevelCount,
    };
    // Speed levels hold the speed in percent, seek levels the seconds of one seek step.
    static constexpr std::array<int, LevelCount> SpeedTable = {-60, -20, -6,  -2,  0, 5, 10, 20,
                                                               50,  100, 150, 200, 2, 6, 20, 60};
    // Seek steps are made every this many view ticks (500 ms at 50 ms a tick).
    static constexpr int kTicksPerSeekStep = 10;

    static bool IsSpeedLevel(int level) { return level >= Paused && level <= SpeedX2; }
    static bool IsSeekLevel(int level) {
        return (level >= RewindX120 && level <= RewindX4) ||
               (level >= ForwardX4 && level <= ForwardX120);
    }
    // The on-screen label of a seek level ("<<x4", ">>x120"), empty for the other levels.
    static QByteArray LevelLabel(int level);
    // The level a speed, fast-forward or rewind command selects, NoLevel for any other command.
    static int LevelForCommand(int commandId);

    explicit Transport(ISlaveCommands& commands) : m_Commands(commands) {}

    int SpeedMode() const { return m_nSpeedMode; }
    bool IsMuted() const { return m_bMuted; }

    // Queues the commands for one speed; the level is the caller's to set.
    void ApplySpeed(int percent);
    void ShowLevelIndicator();
    void TogglePause();
    // A speed or seek level chosen by a command (see LevelForCommand); other values are ignored.
    void SelectLevel(int level);
    void SpeedStepDown();
    void SpeedStepUp();
    void SkipForward(int seconds);
    void SkipBack(int seconds);
    void SeekToStart();
    void FrameStep();
    void SwitchAudio();
    void SelectSubtitle();

    // Every view tick while a file plays: the seek step of fast forward and rewind.
    void OnSeekTick();
    // View ticks that passed while the view slept during playback (never in a seek level, which
    // keeps the tick running): the steps keep the phase they would have had.
    void SkipSeekTicks(int ticks);
    // At every start, once the file's load is queued: normal speed, and unmuted. MPlayer keeps
    // its mute from one file to the next and ignores "mute 0" while idle, so a start after a
    // muted file queues the unmute behind the load.
    void ResetForStart();
    // At every end of playback.
    void ResetForStop() { m_nSpeedMode = Paused; }

private:
    void EnterSpeedLevel(int level);
    void EnterSeekLevel(int level);

    ISlaveCommands& m_Commands;
    int m_nSpeedMode = Paused;
    bool m_bMuted = false;
    int m_SeekTicks = 0;
};
