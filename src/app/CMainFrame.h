#pragma once

#include "app/WindowPlacement.h"
#include "platform/ScreenSaverInhibitor.h"
#include "platform/SleepInhibitor.h"
#include "view/IFrameServices.h"

#include <QMainWindow>
#include <QTimer>

class SettingsStore;
class IFrameView;
class QSessionManager;

// The only top-level window: holds the view, switches between a window and full screen,
// remembers the windowed placement across runs, keeps the system awake, and turns a close,
// an end of session or a termination signal during playback into a stop with the position
// stored first.
class CMainFrame : public QMainWindow, public IFrameServices {
    Q_OBJECT
public:
    explicit CMainFrame(SettingsStore& settings);

    // The keep-awake requests go to these buses, joined once the window is up: connecting held
    // the window's first appearance up. Until then they are only wanted.
    void UseBuses(const QDBusConnection& sessionBus, const QDBusConnection& systemBus);

    // The view becomes the central widget (the frame takes ownership).
    void SetView(QWidget* view, IFrameView* frameView);

    // At start-up; false when the caller must show the window itself.
    bool RestoreWindowPlacement();
    void SaveWindowPlacement();
    void CaptureWindowPlacement();
    bool ApplyWindowPlacement();

    // IFrameServices
    bool IsFullScreen() const override { return isFullScreen; }
    void ToggleFullScreen() override;
    void SetDocumentTitle(const QString& title) override;
    void SetPlaybackActive(bool active) override;
    void PostClose() override;
    QWidget* FrameWindow() override { return this; }

    // The end of a session asks whether it may go on; false refuses it once while a file plays
    // and stops that file with its position stored, after which the frame closes itself.
    bool QueryEndSession();
    // SIGTERM, SIGHUP, SIGINT: save everything and close, after stopping a playing file; a stop
    // that does not complete within the grace time is given up.
    void RequestTermination();
    void SetTerminationGraceMs(int ms) { m_TerminationTimer.setInterval(ms); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCommitDataRequest(QSessionManager& manager);
    bool StopBeforeClosing();
    void SaveEverything();
    void CloseForTermination();
    static WindowPlacement::Form FormOf(Qt::WindowStates state);
    static QRect KeepOnScreen(const QRect& rect);
    static void CloseModalDialogs();

    SettingsStore& m_Settings;
    IFrameView* m_FrameView = nullptr;
    ScreenSaverInhibitor m_ScreenSaver;
    SleepInhibitor m_SleepLock;
    QTimer m_TerminationTimer;

    bool isFullScreen = false;
    WindowPlacementValues savedPlacement;
    bool isPlacementValid = false;
    bool isPlaybackActive = false;

    // A stop for closing was asked of the view; the next close request goes through.
    bool m_ShutdownStopRequested = false;
};
