#pragma once

#include "support/RavoloProcess.h"
#include "support/SpawnedProgram.h"
#include "support/WindowWatcher.h"

#include <QProcessEnvironment>
#include <optional>
#include <string>

class SettingsStore;

// The real program on the bench's X server, in a sandbox of its own (HOME, profile folder,
// temporary folder) and on a session bus of the bench's as on a desktop, started with
// posix_spawn so that the exec is stamped on the monotonic clock, and watched through its
// windows.
class RavoloUnderX {
public:
    static constexpr const char* kMainTitle = "Ravolo";
    static constexpr const char* kWaitTitle = "お待ちください";

    RavoloUnderX(const QString& display, const RavoloProcess::Sandbox& sandbox,
                 const QString& sessionBus);

    // Added to the program's environment (the player it starts inherits it).
    void SetVariable(const QString& name, const QString& value) {
        m_Environment.insert(name, value);
    }
    // A store over the sandbox's profile, marked with this build's version so that the start
    // keeps what is written into it.
    std::unique_ptr<SettingsStore> Profile() const;
    void RemoveProfile() const;

    bool Start();
    // The main window mapped, and the wait dialog unmapped (MPlayer is Ready).
    std::optional<WindowWatcher::Event> WaitForMainWindow(WindowWatcher& watcher,
                                                          int timeoutMs = 30000);
    std::optional<WindowWatcher::Event> WaitForReady(WindowWatcher& watcher,
                                                     const std::function<void()>& onPoll = {},
                                                     int timeoutMs = 30000);
    // Both of the above, for benchmarks that only need the program up.
    std::optional<uint32_t> StartAndWaitUntilReady(WindowWatcher& watcher);

    SpawnedProgram& Program() { return m_Program; }
    pid_t Pid() const { return m_Program.Pid(); }
    // The player it started: its child of that process name ("mplayer" unless set), or 0.
    void SetPlayerName(const std::string& name) { m_strPlayerName = name; }
    pid_t PlayerPid() const;

private:
    const RavoloProcess::Sandbox& m_Sandbox;
    QProcessEnvironment m_Environment;
    SpawnedProgram m_Program;
    std::string m_strPlayerName = "mplayer";
};
