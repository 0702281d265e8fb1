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
        m_pPrompter = std::make_unique<QtPrompter>(nullptr);
        m_pPrompter->ShowMessage(QStringLiteral("CreateMutex: Failed."), MessageIcon::Stop);
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
    m_pSettings = std::make_unique<SettingsStore>(SettingsStore::DefaultProfilePath());
    m_pMainFrame = std::make_unique<CMainFrame>(*m_pSettings, QDBusConnection::sessionBus(),
                                                QDBusConnection::systemBus());
    m_pPrompter = std::make_unique<QtPrompter>(m_pMainFrame.get());
    m_pView =
        new CRavoloView({*m_pSettings, *m_pPrompter, m_Beeper, m_Clock, m_Pointer}, *m_pMainFrame);
    m_Pointer.SetTarget(m_pView);
    m_pMainFrame->SetView(m_pView, m_pView);
    // MPlayer's own start takes a good part of a processor; above our priority it would hold
    // the window up. It gets its priority once the window has been painted.
    m_pView->Engine().SetPlayerPriorityRaised(false);
    m_pView->OnInitialUpdate();
    // Asked to end during the start-up: the view saves what it loaded as it goes.
    if (m_bTerminationRequested)
        return false;
    if (!m_pMainFrame->RestoreWindowPlacement())
        m_pMainFrame->show();
    m_pView->OpenPaths(m_Paths);
    // From here on a second start finds this instance.
    connect(&m_Channel, &InstanceChannel::activateRequested, this, &CRavoloApp::OnHandOver);
    m_Channel.Listen();
    // Queued: run once the first paint is on the screen.
    connect(m_pView, &CRavoloView::firstPainted, this, &CRavoloApp::OnFirstPaint,
            Qt::QueuedConnection);
    m_bStarted = true;
    return true;
}

void CRavoloApp::OnFirstPaint() {
    m_pView->Engine().SetPlayerPriorityRaised(true);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/artwork/app%1.png").arg(size));
    setWindowIcon(icon);
    m_pMpris = std::make_unique<MprisService>(*m_pView, QDBusConnection::sessionBus());
    connect(m_pView, &CRavoloView::mediaStateChanged, m_pMpris.get(), &MprisService::NotifyChanged);
}

void CRavoloApp::OnTerminationRequested() {
    if (m_pPrompter)
        m_pPrompter->Dismiss();
    if (m_bStarted)
        m_pMainFrame->RequestTermination();
    else
        m_bTerminationRequested = true;
}

void CRavoloApp::OnHandOver(const QStringList& paths) {
    if (m_pMainFrame->isMinimized())
        m_pMainFrame->setWindowState(m_pMainFrame->windowState() & ~Qt::WindowMinimized);
    // An open dialog, rather than the frame behind it, gets the focus.
    QWidget* modal = activeModalWidget();
    QWidget* front = modal != nullptr ? modal : m_pMainFrame.get();
    front->raise();
    front->activateWindow();
    m_pView->OpenPaths(paths);
}

int CRavoloApp::ExitInstance(int exitCode) {
    m_Channel.Close();
    m_pMpris.reset();
    // The view saves its state and quits MPlayer as it goes.
    m_pMainFrame.reset();
    m_pPrompter.reset();
    if (isPrimaryInstance)
        instanceMutex.Release();
    return exitCode;
}
