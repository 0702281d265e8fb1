#include "view/PlaybackSession.h"

#include "engine/IPlayerControl.h"
#include "platform/IBeeper.h"
#include "platform/IClock.h"
#include "platform/IPointer.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"
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

PlaybackSession::PlaybackSession(const Collaborators& collaborators) : m_Collab(collaborators) {}

void PlaybackSession::Enter(SessionState state) {
    m_State = state;
    m_bPlaying = state == SessionState::Starting || state == SessionState::Playing;
}

bool PlaybackSession::StartPlayback(const MediaItem& item, std::optional<uint32_t> seekTo) {
    // A start while a stop waits would take over the stopped file's held entry.
    if (m_State == SessionState::Stopping)
        return false;
    if (!IsReadable(item.path) || !m_Collab.player.IsReady())
        return false;
    // Refused before anything changes: a name MPlayer could misread is never sent.
    if (!m_Collab.player.LoadFile(item.path))
        return false;
    m_Collab.state.m_CurrentItem = item;
    m_Collab.frame.SetDocumentTitle(PathParts::FileNamePart(item.path));
    m_Collab.host.HideLists();
    Enter(SessionState::Starting);
    m_Collab.transport.ResetForStart();
    m_Collab.resume.ClearDetachedEntry();
    m_bStartCheck = true;
    m_dwStartCheckTime = m_Collab.clock.NowMs();
    m_bEndCheck = false;
    m_Collab.player.Send(SlaveCmd::GetTimeLength);
    if (seekTo)
        m_Collab.player.SeekAbsolute(*seekTo);
    QPoint cursor;
    m_Collab.pointerDevice.Position(cursor);
    m_Collab.pointer.HidePointer();
    m_Collab.pointer.Reset(cursor);
    m_Collab.frame.SetPlaybackActive(true);
    m_Collab.host.RepaintView();
    m_Collab.host.SaveResumeState();
    return true;
}

void PlaybackSession::StopPlayback(StopReason reason) {
    Enter(SessionState::Stopping);
    m_nStopReason = reason;
    m_StopTime = m_Collab.clock.NowMs();
    m_bEndCheck = false;
    m_Collab.transport.ResetForStop();
    // Asked before the stop, so MPlayer still has the file loaded when it answers.
    m_Collab.player.Send(SlaveCmd::GetTimePos);
    m_Collab.player.Send(SlaveCmd::Stop);
    LeavePlaybackScreen();
}

void PlaybackSession::LeavePlaybackScreen() {
    m_Collab.frame.SetDocumentTitle(QString());
    m_Collab.pointer.ShowPointer();
    m_Collab.frame.SetPlaybackActive(false);
}

void PlaybackSession::ConfirmStart() {
    if (!m_bStartCheck)
        return;
    m_bStartCheck = false;
    if (m_State == SessionState::Starting)
        Enter(SessionState::Playing);
    m_Collab.resume.DetachResumeEntry(m_Collab.state.m_CurrentItem.path);
}

void PlaybackSession::OnBlankLine() {
    if (!m_bPlaying)
        return;
    ConfirmStart();
    m_bEndCheck = true;
    m_dwEndCheckTime = m_Collab.clock.NowMs();
    m_Collab.player.Send(SlaveCmd::GetTimeLength);
}

void PlaybackSession::OnLength() {
    switch (m_State) {
    case SessionState::Starting:
    case SessionState::Playing:
        ConfirmStart();
        m_bEndCheck = false;
        break;
    case SessionState::Stopping:
        // The answer belongs to the file being stopped, so it confirms its start: a
        // registration must not find the old entry still in the list. A second stop would turn
        // a registration into a restore.
        ConfirmStart();
        break;
    case SessionState::Idle:
        // MPlayer still plays a file the view gave up on.
        m_bStartCheck = false;
        StopPlayback(StopReason::Restore);
        break;
    }
}

void PlaybackSession::OnTimePos(uint32_t seconds) {
    // Late for a stop already completed without it: nothing is left to decide.
    if (m_State == SessionState::Idle)
        return;
    ConfirmStart();
    if (m_State == SessionState::Stopping)
        CompleteStop(seconds);
}

// Without a position a registration cannot be made, and the held entry goes back to its place.
void PlaybackSession::CompleteStop(std::optional<uint32_t> position) {
    ResumeList& resume = m_Collab.resume;
    if (m_nStopReason == StopReason::Register && position) {
        resume.RegisterResumeEntry(m_Collab.state.m_CurrentItem, *position,
                                   m_Collab.settings.m_bAFNoResume);
        // The old entry is replaced (or, for audio without resume, dropped) for good.
        resume.ClearDetachedEntry();
    } else {
        resume.RestoreDetachedEntry();
    }
    // A late first answer must not detach the entry just put back.
    m_bStartCheck = false;
    m_nStopReason = StopReason::None;
    Enter(SessionState::Idle);
    m_Collab.host.SaveResumeState();
    if (m_bClosing)
        m_Collab.frame.PostClose();
    else
        m_Collab.host.ShowListScreen();
}

void PlaybackSession::OnPlayerExited() {
    m_bEndCheck = false;
    if (m_State == SessionState::Idle) {
        m_bStartCheck = false;
        m_Collab.host.RestartPlayer();
        return;
    }
    m_Collab.transport.ResetForStop();
    LeavePlaybackScreen();
    m_Collab.beeper.Beep(BEEP_DEFAULT);
    CompleteStop(std::nullopt);
    if (!m_bClosing)
        m_Collab.host.RestartPlayer();
}

bool PlaybackSession::Expired(uint32_t since) const {
    // Unsigned arithmetic: the wrap of the millisecond counter is harmless.
    return m_Collab.clock.NowMs() - since >= m_Collab.settings.m_nEndChkTimeout;
}

void PlaybackSession::OnTimerTick(const QRect& viewRect) {
    if (RunExpiredCheck())
        return;
    if (!m_bPlaying) {
        m_Collab.pointer.ShowPointer();
        return;
    }
    m_Collab.transport.OnSeekTick();
    m_Collab.pointer.OnTick(viewRect);
}

// Each state but Idle waits on MPlayer for at most the judgement time; this ends the wait that
// ran out. MPlayer 1.5 answers nothing to get_time_pos while idle (a file it could not open,
// or one that has just ended), so a stop too must end on time.
bool PlaybackSession::RunExpiredCheck() {
    switch (m_State) {
    case SessionState::Starting:
        if (!Expired(m_dwStartCheckTime))
            return false;
        OnStartTimeout();
        return true;
    case SessionState::Playing:
        if (!m_bEndCheck || !Expired(m_dwEndCheckTime))
            return false;
        OnEndOfFile();
        return true;
    case SessionState::Stopping:
        // The wait starts once the position has been asked: a "mute 0" ahead of it in the queue
        // holds it back for two seconds.
        if (m_Collab.player.HasQueuedCommands())
            m_StopTime = m_Collab.clock.NowMs();
        if (!Expired(m_StopTime))
            return false;
        CompleteStop(std::nullopt);
        return true;
    case SessionState::Idle:
        break;
    }
    return false;
}

bool PlaybackSession::NeedsTick(const QRect& viewRect) {
    if (m_State == SessionState::Stopping)
        return true;
    return m_bPlaying && (m_bStartCheck || m_bEndCheck ||
                          Transport::IsSeekLevel(m_Collab.transport.SpeedMode()) ||
                          m_Collab.pointer.NeedsTick(viewRect));
}

void PlaybackSession::OnStartTimeout() {
    m_bStartCheck = false;
    m_Collab.beeper.Beep(BEEP_HAND);
    Enter(SessionState::Idle);
    m_Collab.transport.ResetForStop();
    LeavePlaybackScreen();
    m_Collab.host.ShowListScreen();
}

void PlaybackSession::OnEndOfFile() {
    m_bEndCheck = false;
    Enter(SessionState::Idle);
    m_Collab.transport.ResetForStop();
    // A file played to its end leaves the resume list.
    m_Collab.resume.ClearDetachedEntry();
    m_Collab.host.SaveResumeState();
    if (m_Collab.settings.m_bContinuousMode)
        m_Collab.host.PlayNextInFolder();
    if (!m_bPlaying) {
        LeavePlaybackScreen();
        m_Collab.host.ShowListScreen();
    }
}

void PlaybackSession::StopToClose() {
    if (m_bPlaying)
        StopPlayback(StopReason::Register);
    else if (!Stopping())
        return;
    m_bClosing = true;
}

QString PlaybackSession::PlaybackStatus() const {
    if (!m_bPlaying)
        return QStringLiteral("Stopped");
    return m_Collab.transport.SpeedMode() == Transport::Paused ? QStringLiteral("Paused")
                                                               : QStringLiteral("Playing");
}

QString PlaybackSession::PlayingTitle() const {
    const ViewState& state = m_Collab.state;
    return m_bPlaying ? PathParts::FileNamePart(state.m_CurrentItem.path) : QString();
}
