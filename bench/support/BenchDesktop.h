#pragma once

#include "support/PrivateBus.h"
#include "support/RavoloProcess.h"
#include "support/RavoloUnderX.h"
#include "support/SpawnedProgram.h"
#include "support/WindowWatcher.h"
#include "support/XvfbSession.h"

#include <QStringList>
#include <memory>
#include <optional>

// What every benchmark of the real program stands on: a private X display with openbox (or
// without a window manager), a session bus as a desktop has one, a sandbox for the program's
// home and profile, and an X client that watches the windows.
class BenchDesktop {
public:
    explicit BenchDesktop(bool withWindowManager = true);

    // False, with a line saying that the benchmark was skipped, when something did not start.
    bool IsReady(const char* benchmark) const;
    QString Display() const { return m_X.Display(); }
    QString SessionBus() const { return m_Bus.Address(); }
    WindowWatcher& Watcher() { return m_Watcher; }
    const RavoloProcess::Sandbox& Sandbox() const { return m_Sandbox; }
    // A folder of that name in the sandbox, made if need be.
    QString Folder(const QString& name) const;

    std::unique_ptr<RavoloUnderX> NewProgram() const;
    // Starts the bare Qt window (bare_window) with its options and waits until it is mapped.
    std::optional<WindowWatcher::Event> StartBareWindow(SpawnedProgram& bare,
                                                        const QStringList& arguments);

    // Polls the window's title until it is `title`.
    bool WaitForTitle(uint32_t window, const QString& title, int timeoutMs = 20000);
    // Waits until the process has used under 2 ms of processor time in 300 ms.
    static bool WaitUntilIdle(pid_t pid, int timeoutMs = 60000);
    static void Sleep(int ms);

private:
    XvfbSession m_X;
    WindowWatcher m_Watcher;
    PrivateBus m_Bus;
    RavoloProcess::Sandbox m_Sandbox;
};
