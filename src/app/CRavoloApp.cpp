#include "app/CRavoloApp.h"

#include "app/CMainFrame.h"
#include "dialogs/QtPrompter.h"
#include "platform/MprisService.h"
#include "settings/SettingsStore.h"
#include "view/CRavoloView.h"

#include <QDBusConnection>
#include <QIcon>

CRavoloApp::CRavoloApp(int& argc, char** argv, const QStringList& paths)
    : QApplication(argc, argv), m_Paths(paths), instanceMutex(QString::fromLatin1(kIdentifier)),
      m_Channel(QString::fromLatin1(kIdentifier)) {
    setOrganizationName(QStringLiteral("Quendal"));
    setApplicationName(QStringLiteral("Ravolo"));
    setDesktopFileName(QStringLiteral("ravolo"));
}

CRavoloApp::~CRavoloApp() = default;

bool CRavoloApp::InitInstance() {
    // From here on: no start-up prompt may hold a termination up.
    connect(&m_Signals, &UnixSignals::terminationRequested, this,
            &CRavoloApp::OnTerminationRequested);
    switch (instanceMutex.Acquire()) {
    case InstanceLock::Result::Failed:
        m_Prompter = std::make_unique<QtPrompter>(nullptr);
        m_Prompter->ShowMessage(QStringLiteral("CreateMutex: Failed."), MessageIcon::Stop);
        return false;
    case InstanceLock::Result::AlreadyRunning:
        // Found or not, this process ends without showing anything.
        m_Channel.SendActivate(m_Paths);
        return false;
    case InstanceLock::Result::Primary:
        isPrimaryInstance = true;
        break;
    }
    UnixSignals::IgnoreBrokenPipe();
    m_Settings = std::make_unique<SettingsStore>(SettingsStore::DefaultProfilePath());
    m_MainFrame = std::make_unique<CMainFrame>(*m_Settings);
    m_Prompter = std::make_unique<QtPrompter>(m_MainFrame.get());
    m_View =
        new CRavoloView({*m_Settings, *m_Prompter, m_Beeper, m_Clock, m_Pointer}, *m_MainFrame);
    m_Pointer.SetTarget(m_View);
    m_MainFrame->SetView(m_View, m_View);
    // MPlayer's own start takes a good part of a processor; above our priority it would hold
    // the window up. It gets its priority once the window has been painted.
    m_View->Engine().SetPlayerPriorityRaised(false);
    m_View->OnInitialUpdate();
    // Asked to end during the start-up: the view saves what it loaded as it goes.
    if (m_TerminationRequested)
        return false;
    if (!m_MainFrame->RestoreWindowPlacement())
        m_MainFrame->show();
    m_MainFrame->UseBuses(QDBusConnection::sessionBus(), QDBusConnection::systemBus());
    m_View->OpenPaths(m_Paths);
    // From here on a second start finds this instance.
    connect(&m_Channel, &InstanceChannel::activateRequested, this, &CRavoloApp::OnHandOver);
    m_Channel.Listen();
    // Queued: run once the first paint is on the screen.
    connect(m_View, &CRavoloView::firstPainted, this, &CRavoloApp::OnFirstPaint,
            Qt::QueuedConnection);
    m_Started = true;
    return true;
}

void CRavoloApp::OnFirstPaint() {
    m_View->Engine().SetPlayerPriorityRaised(true);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/artwork/app%1.png").arg(size));
    setWindowIcon(icon);
    m_Mpris = std::make_unique<MprisService>(*m_View, QDBusConnection::sessionBus());
    connect(m_View, &CRavoloView::mediaStateChanged, m_Mpris.get(), &MprisService::NotifyChanged);
}

void CRavoloApp::OnTerminationRequested() {
    if (m_Prompter)
        m_Prompter->Dismiss();
    if (m_Started)
        m_MainFrame->RequestTermination();
    else
        m_TerminationRequested = true;
}

void CRavoloApp::OnHandOver(const QStringList& paths) {
    if (m_MainFrame->isMinimized())
        m_MainFrame->setWindowState(m_MainFrame->windowState() & ~Qt::WindowMinimized);
    // An open dialog, rather than the frame behind it, gets the focus.
    QWidget* modal = activeModalWidget();
    QWidget* front = modal != nullptr ? modal : m_MainFrame.get();
    front->raise();
    front->activateWindow();
    m_View->OpenPaths(paths);
}

int CRavoloApp::ExitInstance(int exitCode) {
    m_Channel.Close();
    m_Mpris.reset();
    // The view saves its state and quits MPlayer as it goes.
    m_MainFrame.reset();
    m_Prompter.reset();
    if (isPrimaryInstance)
        instanceMutex.Release();
    return exitCode;
}
