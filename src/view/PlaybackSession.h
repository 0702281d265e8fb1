#pragma once

#include "settings/MediaItem.h"
#include "view/SessionState.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

class IBeeper;
class IClock;
class IFrameServices;
class IPlayerControl;
class IPointer;
class IPlaybackHost;
class PointerKeeper;
class ResumeList;
class Transport;
struct ViewSettings;
struct ViewState;

// One playback at a time: starting a file, learning from MPlayer's answers that it started and
// ended, and stopping with or without the resume position stored. Every state but Idle ends
// within the judgement time (m_nEndChkTimeout), answered or not.
class PlaybackSession {
public:
    struct Collaborators {
        ViewState& state;
        const ViewSettings& settings;
        ResumeList& resume;
        IPlayerControl& player;
        Transport& transport;
        PointerKeeper& pointer;
        IPointer& pointerDevice;
        IClock& clock;
        IBeeper& beeper;
        IFrameServices& frame;
        IPlaybackHost& host;
    };
    explicit PlaybackSession(const Collaborators& collaborators);

    // Starts the file and, when given, seeks to a position after the length query.
    bool StartPlayback(const MediaItem& item, std::optional<uint32_t> seekTo = std::nullopt);
    void StopPlayback(StopReason reason);
    // At the end of the session: a playing file stops with its position stored, and the window
    // closes once the stop under way completes.
    void StopToClose();

    void OnBlankLine();
    void OnLength();
    void OnTimePos(uint32_t seconds);
    void OnPlayerExited();
    // The playing part of the view timer; viewRect is the view's client area on the screen.
    void OnTimerTick(const QRect& viewRect);

    // Whether the view timer has work here: a check counting, a stop under way, fast forward or
    // rewind stepping, the pointer countdown.
    bool NeedsTick(const QRect& viewRect);

    // For the desktop's media controls: "Playing", "Paused" or "Stopped", and the file's name.
    QString PlaybackStatus() const;
    QString PlayingTitle() const;

    // The playback screen is shown: a file starts or plays.
    bool IsPlaying() const { return m_bPlaying; }
    // The main window closes when the stop under way completes.
    bool IsClosing() const { return m_bClosing; }
    SessionState State() const { return m_State; }
    bool Stopping() const { return m_State == SessionState::Stopping; }
    StopReason PendingStop() const { return m_nStopReason; }
    // The file's first answer is still awaited (also while a stop given before it waits).
    bool StartCheckArmed() const { return m_bStartCheck; }
    bool EndCheckArmed() const { return m_bEndCheck; }

private:
    void Enter(SessionState state);
    void ConfirmStart();
    bool RunExpiredCheck();
    void OnStartTimeout();
    void OnEndOfFile();
    void CompleteStop(std::optional<uint32_t> position);
    void LeavePlaybackScreen();
    bool Expired(uint32_t since) const;

    Collaborators m_Collab;
    SessionState m_State = SessionState::Idle;
    bool m_bPlaying = false;
    bool m_bClosing = false;
    StopReason m_nStopReason = StopReason::None;
    bool m_bStartCheck = false;
    uint32_t m_dwStartCheckTime = 0;
    bool m_bEndCheck = false;
    uint32_t m_dwEndCheckTime = 0;
    uint32_t m_StopTime = 0;
};
