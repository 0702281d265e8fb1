#pragma once

#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"
#include "engine/CMPlayerEngine.h"
#include "platform/IMprisTarget.h"
#include "view/AnswerPoster.h"
#include "view/FolderScreen.h"
#include "view/ICommandHandlers.h"
#include "view/IFrameView.h"
#include "view/IPlaybackHost.h"
#include "view/InputMap.h"
#include "view/PlaybackSession.h"
#include "view/PointerKeeper.h"
#include "view/ResumeScreen.h"
#include "view/TickSchedule.h"
#include "view/TitlePainter.h"
#include "view/Transport.h"
#include "view/ViewServices.h"
#include "view/ViewState.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CControlDlg;
class CWaitDlg;
class IFrameServices;

// The single view of the main frame: the folder and resume lists, the title area above them,
// and the native window MPlayer draws its video into.
class CRavoloView : public QWidget,
                    public IFrameView,
                    public IMprisTarget,
                    private IPlaybackHost,
                    private ICommandHandlers {
    Q_OBJECT
public:
    CRavoloView(const ViewServices& services, IFrameServices& frame, QWidget* parent = nullptr);
    ~CRavoloView() override;

    // The start-up sequence: MPlayer, the settings, the resume list, the first screen, the timer.
    void OnInitialUpdate();

    // IFrameView
    bool HasPlaybackToFinish() const override { return m_State.m_bPlaying || m_Session.Stopping(); }
    void StopForShutdown() override;
    void SaveViewState() override;

    // IMprisTarget: the desktop's media controls arrive as the media keys they stand for; none
    // acts while a modal dialog is open.
    void PerformMediaKey(int qtKey) override;
    QString PlaybackStatus() const override;
    QString PlayingTitle() const override;
    void Raise() override;

    // Files or folders handed over on the command line: the folder (or the file's folder) is
    // shown on the folder screen, and a media file listed there is played once MPlayer is ready
    // and no modal dialog is open. Refused while a file plays or a modal dialog is open.
    void OpenPaths(const QStringList& paths);

    void LayoutList(CColorListCtrl& list, int clientWidth, int clientHeight);
    void ShowListScreen() override;
    void PlaySelectedItem();
    void OnCommand(int id);

    const ViewState& State() const { return m_State; }
    CMPlayerEngine& Engine() { return m_Engine; }
    CColorListCtrl& FolderList() { return m_ListFolder; }
    CColorListCtrl& ResumeListCtrl() { return m_ListResume; }
    PlaybackSession& Session() { return m_Session; }
    Transport& TransportControls() { return m_Transport; }
    CWaitDlg& WaitDialog() { return *m_WaitDlg; }
    CControlDlg* ControlPad();
    int FontSizeIndex() const;
    // What the title area shows now (nothing is drawn of it while playing).
    TitlePainter::Title TitleContent();
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
    void RepaintView() override;
    void PlayNextInFolder() override;
    void SaveResumeState() override;
    void RestartPlayer() override;

    void RepaintOverPlayer();
    bool WriteViewState();
    void ReportProfileWrite(bool written);
    void CreateFonts();
    void CreateImages();
    CImageList& ImageList(int k);
    void CreateList(CColorListCtrl& list, const QString& sizeCaption);
    void LaunchPlayer();
    void ReportLaunchFailure();
    bool ChoosePlayerPath();
    void OnTimer();
    bool NeedsTick();
    void UpdateTickTimer();
    void StartTickTimer(uint32_t delayMs);
    QRect ViewScreenRect() const;
    void OnAppEvent(const CAppEvent& event);
    void PlayResumeEntry();
    void PlayFolderItem();
    void SwitchScreenCarry();
    void SwitchScreen();
    void DeleteResumeEntry();
    void ApplySettingsDialog();
    void RunCommand(int id);
    void RunWaitingCommand();
    // ICommandHandlers
    void OnFullScreen(int id) override;
    void OnPlayerPath(int id) override;
    void OnPlay(int id) override;
    void OnStop(int id) override;
    void OnSettings(int id) override;
    void OnFolderUp(int id) override;
    void OnFolderTop(int id) override;
    void OnResumeDelete(int id) override;
    void OnSwitchScreenCarry(int id) override;
    void OnSwitchScreen(int id) override;
    void OnExit(int id) override;
    void OnContinuousMode(int id) override;
    void OnSkipBack(int id) override;
    void OnAbout(int id) override;
    void OnTransport(int id) override;
    void Perform(const InputAction& action);
    void OnPadCommand(int code);
    void TogglePad(QPoint clickPoint);
    int HitTestTitleButton(QPoint p) const;
    QRect TitleButtonRect(int button) const;
    void ResizePad();
    void PlayPendingFile();
    static bool HeldByDialog();
    CColorListCtrl& VisibleList();

    ViewServices m_Services;
    IFrameServices& m_Frame;
    ViewState m_State;

    std::array<QFont, 6> m_Fonts; // m_Font17, m_Font20, m_Font28, m_Font40, m_Font56, m_Font80
    std::array<CImageList, 5> m_ImageLists; // 20, 28, 40, 56, 80 pixels
    QImage m_ButtonImage;
    QImage m_AudioBitmap;
    // The pad belongs to the frame's window, which may delete it before this view.
    QPointer<CControlDlg> m_ControlPad;
    CWaitDlg* m_WaitDlg = nullptr;

    AnswerPoster m_AnswerPoster;
    CMPlayerEngine m_Engine;
    int m_nTimerId = 0;
    bool m_bTickAllowed = false; // from the end of the start-up to the destruction
    bool m_bSleptWhilePlaying = false;
    bool m_bPainted = false;
    TickSchedule m_Ticks;
    QString m_strPendingPlay; // a file handed over before MPlayer was ready
    // A command given while a stop waits for MPlayer's answer; it runs once the stop has ended.
    std::function<void()> m_WaitingCommand;
    QString m_strLastMediaState;
    int m_nEarlyDeaths = 0;             // MPlayer deaths in a row before it was ready
    bool m_bProfileWriteFailed = false; // the user has been told, and no write has worked since
    bool m_bPressOnButton = false;      // the last left press landed on a title button
    CColorListCtrl m_ListFolder;
    CColorListCtrl m_ListResume;
    FolderScreen m_Folder;
    ResumeScreen m_Resume;
    Transport m_Transport;
    PointerKeeper m_PointerKeeper;
    PlaybackSession m_Session;
};
