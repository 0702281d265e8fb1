#include "view/PlaybackSession.h"

#include "engine/CMPlayerEngine.h"
#include "platform/IBeeper.h"
#include "platform/IClock.h"
#include "platform/IPointer.h"
#include "view/IFrameServices.h"
#include "view/IPlaybackHost.h"
#include "view/PathParts.h"
#include "view/PointerKeeper.h"
#include "view/Transport.h"
#include "view/ViewState.h"

#include <QApplication>
#include <QFile>

namespace {

// The file must open and give at least one byte before MPlayer is asked to load it.
bool IsReadable(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QFile file(path);
    char buffer[4096];
    const bool readable = file.open(QIODevice::ReadOnly) && file.read(buffer, sizeof buffer) > 0;
    QApplication::restoreOverrideCursor();
    return readable;
}

} // namespace

PlaybackSession::PlaybackSession(const Collaborators& collaborators) : m_(collaborators) {}

bool PlaybackSession::StartPlayback(const MediaItem& item) {
    if (!IsReadable(item.path) || m_.engine.GetPrepState() != PrepState::Ready)
        return false;
    // Refused before anything changes: a name MPlayer could misread is never sent.
    if (!m_.engine.LoadFile(item.path))
        return false;
    m_.state.m_CurrentItem = item;
    m_.frame.SetDocumentTitle(PathParts::FileNamePart(item.path));
    m_.host.HideLists();
    m_.state.m_bPlaying = true;
    m_.transport.ResetForStart();
    m_nStopReason = 0;
    m_.state.m_ResumeList.ClearDetachedEntry();
    m_bStartCheck = true;
    m_dwStartCheckTime = m_.clock.NowMs();
    m_bEndCheck = false;
    m_.engine.GetTimeLength();
    QPoint cursor;
    m_.pointerDevice.Position(cursor);
    m_.pointer.HidePointer();
    m_.pointer.Reset(cursor);
    m_.frame.SetPlaybackActive(true);
    m_.host.RepaintView();
    m_.host.SaveResumeState();
    return true;
}

void PlaybackSession::StopPlayback(int reason) {
    m_.state.m_bPlaying = false;
    m_.transport.ResetForStop();
    m_nStopReason = reason;
    // Asked before the stop, so MPlayer still has the file loaded when it answers.
    m_.engine.GetTimePos();
    m_.engine.Stop();
    LeavePlaybackScreen();
}

void PlaybackSession::LeavePlaybackScreen() {
    m_.frame.SetDocumentTitle(QString());
    m_.pointer.ShowPointer();
    m_.frame.SetPlaybackActive(false);
}

void PlaybackSession::ConfirmStart() {
    if (!m_bStartCheck)
        return;
    m_bStartCheck = false;
    m_.state.m_ResumeList.DetachResumeEntry(m_.state.m_CurrentItem.path);
}

void PlaybackSession::OnBlankLine() {
    if (!m_.state.m_bPlaying)
        return;
    ConfirmStart();
    m_bEndCheck = true;
    m_dwEndCheckTime = m_.clock.NowMs();
    m_.engine.GetTimeLength();
}

void PlaybackSession::OnLength() {
    if (m_.state.m_bPlaying) {
        ConfirmStart();
        m_bEndCheck = false;
        return;
    }
    // A stop already under way stops it too, and must keep its own reason: a second stop would
    // turn a registration into a restore. The answer belongs to the file being stopped, so it
    // confirms its start: a registration must not find the old entry still in the list.
    if (m_nStopReason != 0) {
        ConfirmStart();
        return;
    }
    // MPlayer still plays a file the view gave up on.
    m_bStartCheck = false;
    StopPlayback(2);
}

void PlaybackSession::OnTimePos(uint32_t seconds) {
    ConfirmStart();
    ResumeList& resume = m_.state.m_ResumeList;
    if (m_nStopReason == 1) {
        resume.RegisterResumeEntry(m_.state.m_CurrentItem, seconds, m_.state.m_bAFNoResume);
        // The old entry is replaced (or, for audio without resume, dropped) for good.
        resume.ClearDetachedEntry();
    } else if (m_nStopReason == 2) {
        resume.RestoreDetachedEntry();
    }
    m_nStopReason = 0;
    m_.host.SaveResumeState();
    if (m_.state.m_bClosing)
        m_.frame.PostClose();
    else if (!m_.state.m_bPlaying)
        m_.host.ShowListScreen();
}

void PlaybackSession::OnPlayerExited() {
    const bool active = m_.state.m_bPlaying || m_nStopReason != 0;
    m_bStartCheck = false;
    m_bEndCheck = false;
    if (active) {
        m_.state.m_bPlaying = false;
        m_.transport.ResetForStop();
        m_nStopReason = 0;
        m_.state.m_ResumeList.RestoreDetachedEntry();
        m_.host.SaveResumeState();
        LeavePlaybackScreen();
        m_.beeper.Beep(BEEP_DEFAULT);
        if (m_.state.m_bClosing) {
            m_.frame.PostClose();
            return;
        }
        m_.host.ShowListScreen();
    }
    m_.host.RestartPlayer();
}

bool PlaybackSession::Expired(uint32_t since) const {
    // Unsigned arithmetic: the wrap of the millisecond counter is harmless.
    return m_.clock.NowMs() - since >= m_.state.m_nEndChkTimeout;
}

void PlaybackSession::OnTimerTick(const QRect& viewRect) {
    if (!m_.state.m_bPlaying) {
        m_.pointer.ShowPointer();
        return;
    }
    if (m_bStartCheck && Expired(m_dwStartCheckTime)) {
        m_bStartCheck = false;
        OnStartTimeout();
        return;
    }
    if (m_bEndCheck && Expired(m_dwEndCheckTime)) {
        m_bEndCheck = false;
        OnEndOfFile();
        return;
    }
    m_.transport.OnSeekTick();
    m_.pointer.OnTick(viewRect, m_.state.m_bMenuOpen);
}

bool PlaybackSession::NeedsTick(const QRect& viewRect) {
    if (m_nStopReason != 0)
        return true;
    return m_.state.m_bPlaying &&
           (m_bStartCheck || m_bEndCheck || Transport::IsSeekLevel(m_.transport.SpeedMode()) ||
            m_.pointer.NeedsTick(viewRect, m_.state.m_bMenuOpen));
}

void PlaybackSession::OnStartTimeout() {
    m_.beeper.Beep(BEEP_HAND);
    m_.state.m_bPlaying = false;
    m_.transport.ResetForStop();
    LeavePlaybackScreen();
    m_.host.ShowListScreen();
}

void PlaybackSession::OnEndOfFile() {
    m_.state.m_bPlaying = false;
    m_.transport.ResetForStop();
    // A file played to its end leaves the resume list.
    m_.state.m_ResumeList.ClearDetachedEntry();
    m_.host.SaveResumeState();
    if (m_.state.m_bContinuousMode)
        m_.host.PlayNextInFolder();
    if (!m_.state.m_bPlaying) {
        LeavePlaybackScreen();
        m_.host.ShowListScreen();
    }
}
