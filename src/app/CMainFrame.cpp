#include "app/CMainFrame.h"

#include "settings/SettingsStore.h"
#include "view/IFrameView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSessionManager>

namespace {
constexpr QSize kMinimumSize(640, 480);
// Where the window goes when it leaves full screen with no placement to return to.
constexpr QRect kFallbackGeometry(100, 80, 640, 480);
// How long a termination waits for the playing file's stop before closing anyway.
constexpr int kTerminationGraceMs = 3000;
} // namespace

CMainFrame::CMainFrame(SettingsStore& settings)
    : m_Settings(settings), m_ScreenSaver(QDBusConnection(QString())),
      m_SleepLock(QDBusConnection(QString())) {
    setMinimumSize(kMinimumSize);
    SetDocumentTitle(QString());
    m_TerminationTimer.setSingleShot(true);
    m_TerminationTimer.setInterval(kTerminationGraceMs);
    connect(&m_TerminationTimer, &QTimer::timeout, this, &CMainFrame::CloseForTermination);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &CMainFrame::OnCommitDataRequest,
            Qt::DirectConnection);
    m_SleepLock.Inhibit();
}

void CMainFrame::UseBuses(const QDBusConnection& sessionBus, const QDBusConnection& systemBus) {
    m_ScreenSaver.SetBus(sessionBus);
    m_SleepLock.SetBus(systemBus);
}

void CMainFrame::SetView(QWidget* view, IFrameView* frameView) {
    setCentralWidget(view);
    m_FrameView = frameView;
}

bool CMainFrame::RestoreWindowPlacement() {
    isFullScreen = m_Settings.ReadFullScreen();
    if (const std::optional<WindowPlacementValues> stored = m_Settings.ReadWindowPos()) {
        savedPlacement = *stored;
        isPlacementValid = true;
    }
    return ApplyWindowPlacement();
}

void CMainFrame::SaveWindowPlacement() {
    // In full screen the placement taken on the way in (or read at start) stays.
    if (!isFullScreen)
        CaptureWindowPlacement();
    // A profile that cannot be written is not worth stopping a close for.
    m_Settings.WriteFrameState(isFullScreen,
                               isPlacementValid ? std::optional(savedPlacement) : std::nullopt);
}

void CMainFrame::CaptureWindowPlacement() {
    // Qt keeps the maximised state of a minimised window, and its normal geometry.
    const QRect normal = normalGeometry();
    // Nothing readable: the previous placement and its validity stay.
    if (!normal.isValid())
        return;
    savedPlacement = WindowPlacement::Captured(FormOf(windowState()), normal);
    isPlacementValid = true;
}

// A full-screen state while in the windowed form is the window manager still catching up
// with a switch; the window stays a normal one.
WindowPlacement::Form CMainFrame::FormOf(Qt::WindowStates state) {
    using Form = WindowPlacement::Form;
    const bool maximized = state & Qt::WindowMaximized;
    if (state & Qt::WindowMinimized)
        return maximized ? Form::MinimizedFromMaximized : Form::Minimized;
    return maximized ? Form::Maximized : Form::Normal;
}

bool CMainFrame::ApplyWindowPlacement() {
    // Full screen has neither caption nor border under every window manager that supports it,
    // and without one Qt sizes the window to the screen itself. Changing the window flags
    // instead would unmap and map the window, which races with the window manager.
    if (isFullScreen) {
        showFullScreen();
        return true;
    }
    if (!isPlacementValid)
        return false;
    // Out of full screen or maximised first, so that the rectangle becomes the normal geometry.
    setWindowState(Qt::WindowNoState);
    setGeometry(KeepOnScreen(WindowPlacement::NormalRect(savedPlacement)));
    setWindowState(WindowPlacement::ShowState(savedPlacement));
    show();
    return true;
}

void CMainFrame::ToggleFullScreen() {
    if (!isFullScreen)
        CaptureWindowPlacement();
    isFullScreen = !isFullScreen;
    if (ApplyWindowPlacement())
        return;
    setWindowState(Qt::WindowNoState);
    setGeometry(kFallbackGeometry);
    show();
}

void CMainFrame::SetDocumentTitle(const QString& title) {
    if (title.isEmpty()) {
        setWindowTitle(QStringLiteral("Ravolo"));
        return;
    }
    // Qt takes "[*]" for its modified marker and hides it; doubled, it shows as it is.
    QString shown = title;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown + QStringLiteral(" - Ravolo"));
}

void CMainFrame::SetPlaybackActive(bool active) {
    isPlaybackActive = active;
    if (active)
        m_ScreenSaver.Inhibit();
    else
        m_ScreenSaver.Release();
}

void CMainFrame::PostClose() {
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

bool CMainFrame::QueryEndSession() {
    if (StopBeforeClosing())
        return false;
    SaveEverything();
    return true;
}

void CMainFrame::RequestTermination() {
    if (StopBeforeClosing())
        m_TerminationTimer.start();
    else
        CloseForTermination();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (StopBeforeClosing()) {
        event->ignore();
        return;
    }
    m_TerminationTimer.stop();
    SaveWindowPlacement();
    m_ScreenSaver.Release();
    m_SleepLock.Release();
    event->accept();
}

void CMainFrame::OnCommitDataRequest(QSessionManager& manager) {
    if (QueryEndSession())
        return;
    if (manager.allowsInteraction())
        manager.cancel();
    else
        SaveEverything(); // the session ends whatever we answer
}

// While a file plays, or its stop still waits for the position, the first request to close
// stops it with its position stored; the view closes the frame when the stop completes. A later
// request goes through.
bool CMainFrame::StopBeforeClosing() {
    if (!m_FrameView || m_ShutdownStopRequested)
        return false;
    if (!isPlaybackActive && !m_FrameView->HasPlaybackToFinish())
        return false;
    m_ShutdownStopRequested = true;
    m_FrameView->StopForShutdown();
    return true;
}

void CMainFrame::SaveEverything() {
    SaveWindowPlacement();
    if (m_FrameView)
        m_FrameView->SaveViewState();
}

void CMainFrame::CloseForTermination() {
    if (m_FrameView)
        m_FrameView->SaveViewState();
    CloseModalDialogs();
    close();
}

// As other desktops do: a placement on a screen that is gone comes back on the primary screen,
// at the spot used when there is no placement at all.
QRect CMainFrame::KeepOnScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect))
            return rect;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return rect;
    return QRect(primary->availableGeometry().topLeft() + kFallbackGeometry.topLeft(), rect.size());
}

// A modal dialog runs its own event loop, which would keep the program alive after the frame.
void CMainFrame::CloseModalDialogs() {
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            break;
    }
}
