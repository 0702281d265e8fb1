#pragma once

#include "support/Patience.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private X server with a window manager for tests that need real windows: Xvfb on a free
// display number with openbox on it (without one, full screen, Alt+F4 and focus do not behave
// as on a desktop), or a Wayland session: a headless weston, which is its own window manager,
// with the XWayland server it starts. Xvfb without a window manager maps a window the moment its
// program asks (what the benchmarks time).
class XvfbSession {
public:
    // A bound for one command rather than a wait: "xdotool windowactivate --sync" never returns
    // for a window the window manager will not activate, and a caller polling for a condition
    // runs the command again.
    static constexpr int kToolMs = 10000;
    enum class Kind { Xvfb, XvfbWithoutWindowManager, Wayland };

    explicit XvfbSession(Kind kind = Kind::Xvfb);
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool IsRunning() const { return m_bRunning; }
    QString Display() const { return m_strDisplay; }
    // What a program started in this session finds in its environment: DISPLAY, and in a
    // Wayland session what the desktop sets there (and no platform chosen for Qt).
    QProcessEnvironment ClientEnvironment() const;
    // Runs a command (xdotool, import) on this display; its standard output, or "" on failure.
    QString Run(const QString& program, const QStringList& arguments,
                int timeoutMs = kToolMs) const;
    // The id of the first visible window whose name contains the text, or 0.
    quint64 FindWindow(const QString& name, int timeoutMs = kPatienceMs) const;
    // The whole screen as a PNG file at path.
    bool Screenshot(const QString& path) const;

private:
    void StartXvfb();
    void StartWeston();

    Kind m_Kind;
    QTemporaryDir m_RuntimeDir; // the Wayland session's XDG_RUNTIME_DIR
    QString m_strDisplay;
    QProcess m_Server;
    QProcess m_WindowManager;
    bool m_bRunning = false;
};
