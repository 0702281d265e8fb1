#pragma once

#include "settings/MediaItem.h"

#include <QRect>
#include <cstdint>

class CMPlayerEngine;
class IBeeper;
class IClock;
class IFrameServices;
class IPointer;
class IPlaybackHost;
class PointerKeeper;
class Transport;
struct ViewState;

// One playback at a time: starting a file, learning from MPlayer's answers that it started and
// ended, and stopping with or without the resume position stored.
class PlaybackSession {
public:
    struct Collaborators {
        ViewState& state;
        CMPlayerEngine& engine;
        Transport& transport;
        PointerKeeper& pointer;
        IPointer& pointerDevice;
        IClock& clock;
        IBeeper& beeper;
        IFrameServices& frame;
        IPlaybackHost& host;
    };
    explicit PlaybackSession(const Collaborators& collaborators);

    bool StartPlayback(const MediaItem& item);
    // reason 1: store the resume position; 2: do not.
    void StopPlayback(int reason);

    void OnBlankLine();
    void OnLength();
    void OnTimePos(uint32_t seconds);
    void OnPlayerExited();
    // The playing part of the view timer; viewRect is the view's client area on the screen.
    void OnTimerTick(const QRect& viewRect);

    // Whether the view timer has work here: a check counting, a stop under way, fast forward or
    // rewind stepping, the pointer countdown.
    bool NeedsTick(const QRect& viewRect);

    int StopReason() const { return m_nStopReason; }
    bool StartCheckArmed() const { return m_bStartCheck; }
    bool EndCheckArmed() const { return m_bEndCheck; }

private:
    void ConfirmStart();
    void OnStartTimeout();
    void OnEndOfFile();
    void LeavePlaybackScreen();
    bool Expired(uint32_t since) const;

    Collaborators m_;
    int m_nStopReason = 0;
    bool m_bStartCheck = false;
    uint32_t m_dwStartCheckTime = 0;
    bool m_bEndCheck = false;
    uint32_t m_dwEndCheckTime = 0;
};
