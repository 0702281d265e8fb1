#include "support/BenchDesktop.h"

#include "support/BenchFigures.h"
#include "support/ProcessProbe.h"

#include <QDir>
#include <chrono>
#include <thread>

BenchDesktop::BenchDesktop(bool withWindowManager)
    : m_X(withWindowManager ? XvfbSession::Kind::Xvfb : XvfbSession::Kind::XvfbWithoutWindowManager),
      m_Watcher(m_X.Display()) {}

bool BenchDesktop::IsReady(const char* benchmark) const {
    if (m_X.IsRunning() && m_Watcher.IsConnected() && m_Bus.IsRunning())
        return true;
    BenchFigures::PrintNote(std::string(benchmark) +
                            ": skipped, no X display, window manager or session bus");
    return false;
}

QString BenchDesktop::Folder(const QString& name) const {
    const QString folder = m_Sandbox.root.filePath(name);
    QDir().mkpath(folder);
    return folder;
}

std::unique_ptr<RavoloUnderX> BenchDesktop::NewProgram() const {
    return std::make_unique<RavoloUnderX>(m_X.Display(), m_Sandbox, m_Bus.Address());
}

std::optional<WindowWatcher::Event> BenchDesktop::StartBareWindow(SpawnedProgram& bare,
                                                                  const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_X.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!bare.Start(QStringLiteral(RAVOLO_BARE_WINDOW_PATH), arguments, environment))
        return std::nullopt;
    return m_Watcher.WaitFor(
        WindowWatcher::Is(WindowWatcher::Change::Mapped, bare.Pid(), "bare window"), 30000);
}

bool BenchDesktop::WaitForTitle(uint32_t window, const QString& title, int timeoutMs) {
    const double until = ProcessProbe::NowMs() + timeoutMs;
    while (ProcessProbe::NowMs() < until) {
        if (m_Watcher.NameOf(window) == title)
            return true;
        Sleep(20);
    }
    return false;
}

bool BenchDesktop::WaitUntilIdle(pid_t pid, int timeoutMs) {
    const double until = ProcessProbe::NowMs() + timeoutMs;
    std::optional<double> before = ProcessProbe::CpuMs(pid);
    while (before && ProcessProbe::NowMs() < until) {
        Sleep(300);
        const std::optional<double> now = ProcessProbe::CpuMs(pid);
        if (!now)
            return false;
        if (*now - *before < 2)
            return true;
        before = now;
    }
    return false;
}

void BenchDesktop::Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
