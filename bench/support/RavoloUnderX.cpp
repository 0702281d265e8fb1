#include "support/RavoloUnderX.h"

#include "settings/ProgramVersion.h"
#include "settings/SettingsStore.h"
#include "support/ProcessProbe.h"

#include <QFile>

RavoloUnderX::RavoloUnderX(const QString& display, const RavoloProcess::Sandbox& sandbox,
                           const QString& sessionBus)
    : m_Sandbox(sandbox), m_Environment(QProcessEnvironment::systemEnvironment()) {
    m_Environment.insert(QStringLiteral("HOME"), sandbox.Home());
    m_Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), sandbox.ConfigHome());
    m_Environment.insert(QStringLiteral("TMPDIR"), sandbox.TempDir());
    m_Environment.insert(QStringLiteral("DISPLAY"), display);
    m_Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Without a session bus libdbus would start one (dbus-launch) during the start.
    m_Environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus);
}

std::unique_ptr<SettingsStore> RavoloUnderX::Profile() const {
    auto store = std::make_unique<SettingsStore>(m_Sandbox.ProfilePath());
    store->CheckVersion(ProgramVersion::FromBuild());
    return store;
}

void RavoloUnderX::RemoveProfile() const {
    QFile::remove(m_Sandbox.ProfilePath());
}

bool RavoloUnderX::Start() {
    return m_Program.Start(QStringLiteral(RAVOLO_PROGRAM_PATH), {}, m_Environment,
                           m_Sandbox.root.filePath(QStringLiteral("ravolo.log")));
}

std::optional<WindowWatcher::Event> RavoloUnderX::WaitForMainWindow(WindowWatcher& watcher,
                                                                    int timeoutMs) {
    return watcher.WaitFor(
        WindowWatcher::Is(WindowWatcher::Change::Mapped, Pid(), QString::fromUtf8(kMainTitle)),
        timeoutMs);
}

std::optional<WindowWatcher::Event> RavoloUnderX::WaitForReady(WindowWatcher& watcher,
                                                               const std::function<void()>& onPoll,
                                                               int timeoutMs) {
    return watcher.WaitFor(
        WindowWatcher::Is(WindowWatcher::Change::Unmapped, Pid(), QString::fromUtf8(kWaitTitle)),
        timeoutMs, onPoll);
}

std::optional<uint32_t> RavoloUnderX::StartAndWaitUntilReady(WindowWatcher& watcher) {
    if (!Start())
        return std::nullopt;
    const std::optional<WindowWatcher::Event> window = WaitForMainWindow(watcher);
    if (!window || !WaitForReady(watcher))
        return std::nullopt;
    return window->window;
}

pid_t RavoloUnderX::PlayerPid() const {
    for (const pid_t child : ProcessProbe::Children(Pid())) {
        if (ProcessProbe::CommandName(child) == m_strPlayerName)
            return child;
    }
    return 0;
}
