#pragma once

#include "app/QtBeeper.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"
#include "platform/SteadyClock.h"
#include "platform/UnixSignals.h"
#include "view/ViewPointer.h"

#include <QApplication>
#include <memory>

class CMainFrame;
class MprisService;
class CRavoloView;
class QtPrompter;
class SettingsStore;

// The process: the single-instance rule, the profile, the main frame and its view.
class CRavoloApp : public QApplication {
    Q_OBJECT
public:
    static constexpr const char* kIdentifier = "Ravolo.2015.Quendal";

    // paths: the files or folders given on the command line, absolute and existing.
    CRavoloApp(int& argc, char** argv, const QStringList& paths);
    ~CRavoloApp() override;

    // False ends the process at once: another instance runs, or the lock could not be made.
    bool InitInstance();
    int ExitInstance(int exitCode);

private:
    void OnHandOver(const QStringList& paths);
    // What the first paint does not need: the window icon (decoded and sent to every window)
    // and the desktop's media controls.
    void OnFirstPaint();
    // SIGTERM, SIGHUP, SIGINT: no more prompts, then the frame's termination, or the end of the
    // start-up.
    void OnTerminationRequested();

    QStringList m_Paths;
    InstanceLock instanceMutex;
    bool isPrimaryInstance = false;
    bool m_Started = false; // the start-up is over
    bool m_TerminationRequested = false;
    InstanceChannel m_Channel;
    UnixSignals m_Signals;
    QtBeeper m_Beeper;
    SteadyClock m_Clock;
    ViewPointer m_Pointer;
    std::unique_ptr<SettingsStore> m_Settings;
    std::unique_ptr<CMainFrame> m_MainFrame;
    std::unique_ptr<QtPrompter> m_Prompter;
    CRavoloView* m_View = nullptr;
    std::unique_ptr<MprisService> m_Mpris;
};
