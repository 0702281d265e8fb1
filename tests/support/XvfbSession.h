#pragma once

#include <QProcess>
#include <QString>

// A private X server with a window manager for tests that need real windows: Xvfb on a free
// display number, and openbox on it (without one, full screen, Alt+F4 and focus do not behave as
// on a desktop). Without one, a window is mapped the moment its program asks.
class XvfbSession {
public:
    explicit XvfbSession(bool withWindowManager = true);
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    bool IsRunning() const { return m_bRunning; }
    QString Display() const { return m_strDisplay; }
    // Runs a command (xdotool, import) on this display; its standard output, or "" on failure.
    QString Run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) const;
    // The id of the first visible window whose name contains the text, or 0.
    quint64 FindWindow(const QString& name, int timeoutMs = 10000) const;
    // The whole screen as a PNG file at path.
    bool Screenshot(const QString& path) const;

private:
    QString m_strDisplay;
    QProcess m_Server;
    QProcess m_WindowManager;
    bool m_bRunning = false;
};
