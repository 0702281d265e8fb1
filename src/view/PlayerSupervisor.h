#pragma once

#include <QString>
#include <memory>

class CMPlayerEngine;
class CWaitDlg;
class IPrompter;
class PlaybackSession;
class QWidget;
class SettingsStore;
class WriteFailureNotice;

// Keeps one MPlayer running for the view: finds and launches it with the wait dialog shown until
// it is ready, starts it again when it dies, and lets the user choose another program.
class PlayerSupervisor {
public:
    struct Parts {
        CMPlayerEngine& engine;
        IPrompter& prompter;
        SettingsStore& settings;
        WriteFailureNotice& writes;
        const PlaybackSession& session; // a file that plays keeps its MPlayer
        QWidget& view;                  // MPlayer draws into its window
    };
    explicit PlayerSupervisor(const Parts& parts);
    ~PlayerSupervisor();

    // The stored path, else the one found and stored; a path that names no file is asked for.
    // The wait dialog shows at once; a stored or found MPlayer is spawned once events run, which
    // at start-up is after the window has been shown.
    void StartPlayer();
    // False when nothing was chosen, or a file started while the chooser was open.
    bool ChoosePlayerPath();
    // MPlayer died: start it again, with the wait dialog.
    void RestartPlayer();

    // The view's tick: the wait dialog goes once MPlayer is ready.
    void OnTick();
    bool NeedsTick() const;

    // A file handed over before MPlayer was ready waits here; taken once it is.
    void HoldPendingPlay(const QString& file) { m_PendingPlay = file; }
    QString TakeReadyPendingPlay();

    const QString& PlayerPath() const { return m_strPlayerPath; }
    CWaitDlg& WaitDialog() { return *m_WaitDlg; }

private:
    void LaunchPlayer();
    void LaunchOnceShown();
    bool Spawn();
    void ReportLaunchFailure();

    Parts m_Parts;
    std::unique_ptr<CWaitDlg> m_WaitDlg;
    QString m_strPlayerPath;
    QString m_PendingPlay;
    int m_EarlyDeaths = 0; // MPlayer deaths in a row before it was ready
};
