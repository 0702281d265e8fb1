#pragma once

#include "controls/CColorListCtrl.h"
#include "engine/CMPlayerEngine.h"
#include "platform/IMprisTarget.h"
#include "settings/ViewSettings.h"
#include "view/AnswerPoster.h"
#include "view/FolderScreen.h"
#include "view/IFrameView.h"
#include "view/IPlaybackHost.h"
#include "view/IViewShell.h"
#include "view/PlaybackSession.h"
#include "view/PlayerSupervisor.h"
#include "view/PointerKeeper.h"
#include "view/ResumeScreen.h"
#include "view/TickSchedule.h"
#include "view/TitleArea.h"
#include "view/Transport.h"
#include "view/ViewCommands.h"
#include "view/ViewServices.h"
#include "view/ViewState.h"
#include "view/WriteFailureNotice.h"

#include <QPointer>
#include <QWidget>

class CControlDlg;
class CWaitDlg;
class IFrameServices;

// The single view of the main frame: the folder and resume lists, the title area above them,
// and the native window MPlayer draws its video into. It takes the window's events, lays out and
// paints; MPlayer's upkeep, the commands, the title area and the screens' flows are their own
// units'.
class CRavoloView : public QWidget,
                    public IFrameView,
                    public IMprisTarget,
                    private IPlaybackHost,
                    private IViewShell {
    Q_OBJECT
public:
    CRavoloView(const ViewServices& services, IFrameServices& frame, QWidget* parent = nullptr);
    ~CRavoloView() override;

    // The start-up sequence: MPlayer, the settings, the resume list, the first screen, the timer.
    void OnInitialUpdate();

    // IFrameView
    bool HasPlaybackToFinish() const override {
        return m_Session.IsPlaying() || m_Session.Stopping();
    }
    void StopForShutdown() override { m_Session.StopToClose(); }
    void SaveViewState() override;

    // IMprisTarget: the desktop's media controls arrive as the media keys they stand for; none
    // acts while a modal dialog is open.
    void PerformMediaKey(int qtKey) override { m_Commands.PerformMediaKey(qtKey); }
    QString PlaybackStatus() const override { return m_Session.PlaybackStatus(); }
    QString PlayingTitle() const override { return m_Session.PlayingTitle(); }
    void Raise() override;

    // Files or folders handed over on the command line: the folder (or the file's folder) is
    // shown on the folder screen, and a media file listed there is played once MPlayer is ready
    // and no modal dialog is open. Refused while a file plays or a modal dialog is open.
    void OpenPaths(const QStringList& paths) { m_Commands.OpenPaths(paths); }

    void ShowListScreen() override;
    void PlaySelectedItem() { m_Commands.PlaySelectedItem(); }
    void OnCommand(int id) { m_Commands.OnCommand(id); }

    const ViewState& State() const { return m_State; }
    const ViewSettings& Settings() const { return m_Settings; }
    const FolderScreen& Folder() const { return m_Folder; }
    const ResumeScreen& Resume() const { return m_Resume; }
    const PlayerSupervisor& Supervisor() const { return m_Supervisor; }
    const TitleArea& Title() const { return m_Title; }
    const ViewCommands& Commands() const { return m_Commands; }
    CMPlayerEngine& Engine() { return m_Engine; }
    CColorListCtrl& FolderList() { return m_ListFolder; }
    CColorListCtrl& ResumeListCtrl() { return m_ListResume; }
    PlaybackSession& Session() { return m_Session; }
    const PointerKeeper& Pointer() const { return m_PointerKeeper; }
    Transport& TransportControls() { return m_Transport; }
    CWaitDlg& WaitDialog() { return m_Supervisor.WaitDialog(); }
    CControlDlg* ControlPad();
    int FontSizeIndex() const { return m_Title.SizeIndex(); }
    // What the title area shows now (nothing is drawn of it while playing).
    TitlePainter::Title TitleContent() { return m_Title.Content(); }
    // Whether the 50 ms view timer runs: only while a tick has work.
    bool IsTicking() const { return m_nTimerId != 0; }

signals:
    // Playing, paused or stopped, or the playing file, changed.
    void mediaStateChanged();
    // Once, when the view has painted for the first time.
    void firstPainted();

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // IPlaybackHost
    void HideLists() override;
    void RepaintView() override { update(); }
    void PlayNextInFolder() override;
    void SaveResumeState() override;
    void RestartPlayer() override { m_Supervisor.RestartPlayer(); }
    // IViewShell
    void LayoutLists() override;
    void ResizePad() override;
    void HidePad() override;
    void PostKeyToList(int key) override;

    void LayoutList(CColorListCtrl& list, int clientWidth, int clientHeight);
    void RepaintOverPlayer();
    bool WriteViewState();
    void CreateList(CColorListCtrl& list, const QString& sizeCaption);
    void OnTimer();
    bool NeedsTick();
    void UpdateTickTimer();
    void StartTickTimer(uint32_t delayMs);
    QRect ViewScreenRect() const;
    void OnAppEvent(const CAppEvent& event);
    void TogglePad(QPoint clickPoint);
    CColorListCtrl& VisibleList();

    ViewServices m_Services;
    IFrameServices& m_Frame;
    ViewSettings m_Settings;
    ViewState m_State;
    WriteFailureNotice m_Writes;

    // The pad belongs to the frame's window, which may delete it before this view.
    QPointer<CControlDlg> m_ControlPad;

    AnswerPoster m_AnswerPoster;
    CMPlayerEngine m_Engine;
    int m_nTimerId = 0;
    bool m_TickAllowed = false; // from the end of the start-up to the destruction
    bool m_SleptWhilePlaying = false;
    bool m_Painted = false;
    TickSchedule m_Ticks;
    QString m_LastMediaState;
    bool m_PressOnButton = false; // the last left press landed on a title button
    CColorListCtrl m_ListFolder;
    CColorListCtrl m_ListResume;
    ResumeScreen m_Resume;
    FolderScreen m_Folder;
    Transport m_Transport;
    PointerKeeper m_PointerKeeper;
    PlaybackSession m_Session;
    TitleArea m_Title;
    PlayerSupervisor m_Supervisor;
    ViewCommands m_Commands;
};
