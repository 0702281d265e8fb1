#include "view/PlayerSupervisor.h"

#include "dialogs/CWaitDlg.h"
#include "engine/CMPlayerEngine.h"
#include "engine/PlayerLocator.h"
#include "platform/IPrompter.h"
#include "platform/RegularFile.h"
#include "settings/SettingsStore.h"
#include "view/PlaybackSession.h"
#include "view/WriteFailureNotice.h"

#include <QFileInfo>
#include <QWidget>
#include <utility>

namespace {

// MPlayer deaths in a row before it was ever ready, after which it is not started again.
constexpr int kMaxEarlyDeaths = 3;

} // namespace

PlayerSupervisor::PlayerSupervisor(const Parts& parts)
    : m_Parts(parts), m_WaitDlg(std::make_unique<CWaitDlg>(&parts.view)) {
    m_WaitDlg->messageText = QStringLiteral("MPlayer の準備中");
}

PlayerSupervisor::~PlayerSupervisor() = default;

void PlayerSupervisor::StartPlayer() {
    SettingsStore& settings = m_Parts.settings;
    m_strPlayerPath = settings.LoadPlayerPath();
    if (m_strPlayerPath.isEmpty()) {
        m_strPlayerPath = PlayerLocator::Locate(QString());
        if (!m_strPlayerPath.isEmpty())
            settings.SetPlayerPath(m_strPlayerPath);
    }
    if (IsRegularFile(m_strPlayerPath))
        LaunchOnceShown();
    else if (!ChoosePlayerPath())
        LaunchPlayer();
}

void PlayerSupervisor::LaunchPlayer() {
    if (Spawn())
        m_WaitDlg->CenterAndShow();
    else
        ReportLaunchFailure();
}

// At start-up the fork waits until the window is up: made before it, the fork and MPlayer's own
// start held the window's first appearance up by several milliseconds. A file that cannot be
// executed is refused at once, as its exec would have been.
void PlayerSupervisor::LaunchOnceShown() {
    if (!QFileInfo(m_strPlayerPath).isExecutable()) {
        ReportLaunchFailure();
        return;
    }
    m_WaitDlg->CenterAndShow();
    const long launch = m_Parts.engine.LaunchNumber();
    QMetaObject::invokeMethod(
        m_WaitDlg.get(),
        [this, launch] {
            // A path chosen meanwhile has started its own.
            if (m_Parts.engine.LaunchNumber() != launch || Spawn())
                return;
            m_WaitDlg->hide();
            ReportLaunchFailure();
        },
        Qt::QueuedConnection);
}

bool PlayerSupervisor::Spawn() {
    return m_Parts.engine.Launch(m_strPlayerPath, static_cast<quint64>(m_Parts.view.winId()));
}

void PlayerSupervisor::ReportLaunchFailure() {
    m_Parts.prompter.ShowMessage(QStringLiteral("MPlayer を起動できませんでした。"),
                                 MessageIcon::Warning);
}

bool PlayerSupervisor::ChoosePlayerPath() {
    const QString chosen = m_Parts.prompter.ChooseExecutable(
        PlayerLocator::DialogFolder(m_strPlayerPath), PlayerLocator::kDialogFileName);
    // A file that started meanwhile would die with the MPlayer playing it.
    if (chosen.isEmpty() || m_Parts.session.IsPlaying())
        return false;
    m_strPlayerPath = chosen;
    m_Parts.writes.Report(m_Parts.settings.SavePlayerPath(chosen));
    m_Parts.engine.Quit();
    m_EarlyDeaths = 0;
    LaunchPlayer();
    return true;
}

void PlayerSupervisor::RestartPlayer() {
    CMPlayerEngine& engine = m_Parts.engine;
    // One that dies before it is ever ready (a wrong program, a broken installation) would
    // only die again: after a few such deaths the program runs on without MPlayer, as after a
    // failed start, until the user chooses another path.
    m_EarlyDeaths = engine.GetPrepState() == PrepState::Ready ? 0 : m_EarlyDeaths + 1;
    engine.Quit();
    // A stale "pause" or "mute 1" would carry over into the next file.
    engine.DiscardQueue();
    if (m_EarlyDeaths < kMaxEarlyDeaths) {
        LaunchPlayer();
        return;
    }
    m_WaitDlg->hide();
    ReportLaunchFailure();
}

void PlayerSupervisor::OnTick() {
    if (m_WaitDlg->isVisible() && m_Parts.engine.GetPrepState() == PrepState::Ready)
        m_WaitDlg->hide();
}

bool PlayerSupervisor::NeedsTick() const {
    return m_Parts.engine.IsReady() && (m_WaitDlg->isVisible() || !m_PendingPlay.isEmpty());
}

QString PlayerSupervisor::TakeReadyPendingPlay() {
    if (m_PendingPlay.isEmpty() || !m_Parts.engine.IsReady())
        return QString();
    return std::exchange(m_PendingPlay, QString());
}
