#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <sys/types.h>

struct xcb_connection_t;

// Watches an X display for top-level windows being mapped and unmapped, as a separate client
// would see them, and stamps each change on the monotonic clock when it arrives. Each window
// is told apart by the process that made it (_NET_WM_PID) and by its title.
class WindowWatcher {
public:
    enum class Change { Mapped, Unmapped };
    struct Event {
        double ms;
        Change change;
        uint32_t window;
        pid_t pid;
        QString name;
    };
    using Condition = std::function<bool(const Event&)>;

    explicit WindowWatcher(const QString& display);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    bool IsConnected() const { return m_pConnection != nullptr; }

    // Handles the display's events until one meets the condition or timeoutMs passes; between
    // events onPoll runs at least every pollMs (to sample something meanwhile).
    std::optional<Event> WaitFor(const Condition& condition, int timeoutMs,
                                 const std::function<void()>& onPoll = {}, int pollMs = 2);
    // A change of the window titled name that belongs to pid.
    static Condition Is(Change change, pid_t pid, const QString& name);

    QString NameOf(uint32_t window);

private:
    void Watch(uint32_t window, std::optional<Event>& alreadyMapped);
    std::optional<Event> Translate(void* event);
    pid_t PidOf(uint32_t window);
    uint32_t Atom(const char* name);

    xcb_connection_t* m_pConnection = nullptr;
    uint32_t m_Root = 0;
    uint32_t m_PidAtom = 0;
    uint32_t m_NameAtom = 0;
    uint32_t m_Utf8Atom = 0;
    std::map<uint32_t, pid_t> m_Pids;
};
