#pragma once

#include "support/Patience.h"
#include "support/RavoloProcess.h"
#include "support/XvfbSession.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The real program on a private X display with openbox (or in a Wayland session, on its
// XWayland), the real MPlayer drawing into its view (vo x11, ao null) and a sandboxed profile:
// what an end-to-end test drives and observes.
// Every wait is a bounded poll of something the user could see or find on disk.
class RavoloDesktop {
public:
    static constexpr int kWaitMs = kPatienceMs;

    explicit RavoloDesktop(XvfbSession::Kind session = XvfbSession::Kind::Xvfb);
    ~RavoloDesktop();
    RavoloDesktop(const RavoloDesktop&) = delete;
    RavoloDesktop& operator=(const RavoloDesktop&) = delete;

    bool HasDisplay() const { return m_Display.IsRunning(); }
    XvfbSession& Display() { return m_Display; }
    RavoloProcess& Process() { return *m_pProcess; }
    QString Root() const { return m_Sandbox.root.path(); }

    // The folder of the sandbox that holds the test's media.
    QString MediaFolder() const;
    // A clip of the given length in the media folder; its path, or "" when ffmpeg failed.
    QString MakeClip(const QString& name, int seconds, bool withVideo = true,
                     int redSeconds = 0) const;

    // The profile group "Settings", written before a start and read at any time.
    void WriteSetting(const QString& key, const QString& value) const;
    QString ReadSetting(const QString& key) const;
    bool WaitForSetting(const QString& key, const QString& value, int timeoutMs = kWaitMs) const;
    // The stored resume entry of a video file at `seconds`, with its size as it is now.
    static QString ResumeValue(const QString& path, uint seconds);
    // The resume keys "Resume0" .. as stored, up to the first empty one.
    QStringList StoredResumeList() const;

    // Starts a new process in the sandbox (the previous one must have ended) with the arguments
    // and waits until its window is shown and MPlayer is ready for a file.
    bool Start(const QStringList& arguments = {});
    bool WaitForExit(int timeoutMs = kWaitMs);
    // The MPlayer child of the running program; 0 when there is none.
    qint64 PlayerPid() const;
    bool WaitForNewPlayer(qint64 oldPid, int timeoutMs = kWaitMs) const;
    // True once no process has the id any more.
    static bool WaitForProcessGone(qint64 pid, int timeoutMs = kWaitMs);

    quint64 Frame() const { return m_nFrame; }
    QString Title() const;
    bool WaitForTitle(const QString& title, int timeoutMs = kWaitMs) const;
    // Visible top-level windows whose name matches the regular expression.
    QList<quint64> VisibleWindows(const QString& namePattern) const;
    // The program's visible windows that the window manager manages (the frame, the pad,
    // dialogs), without the native child windows inside them.
    QList<quint64> VisibleTopLevelWindows() const;
    // A window's inside (without the window manager's frame) in screen coordinates.
    QRect Geometry(quint64 window) const;
    bool WaitForGeometry(quint64 window, const QRect& expected, int timeoutMs = kWaitMs) const;

    // Keys in xdotool's names ("Return", "ctrl+s"), to the frame or to another window; the
    // window is activated first so that the keys reach it.
    void Key(const QString& keys) const { KeyTo(m_nFrame, keys); }
    void KeyTo(quint64 window, const QString& keys) const;
    // Left clicks at a point of the window, two of them a double click.
    void Click(quint64 window, QPoint point, int clicks = 1) const;

    // What the window shows on the screen, MPlayer's drawing included.
    QImage Grab(quint64 window) const;
    // Waits until the frame shows an image that passes the check.
    template <typename Check> bool WaitForImage(Check check, int timeoutMs = kWaitMs) const {
        return WaitUntil([&] { return check(Grab(m_nFrame)); }, timeoutMs);
    }
    // The clips of TestMedia are 160 x 120: MPlayer shows one once that much of the view is
    // something else than the colour key.
    bool WaitForVideo(int timeoutMs = kWaitMs) const;
    // Most of a clip's picture is the red of its first seconds (see TestMedia), or not.
    bool WaitForRedPicture(bool red, int timeoutMs = kWaitMs) const;
    // A list screen covers most of the view, the playback screen leaves it to the colour key.
    bool WaitForListScreen(int timeoutMs = kWaitMs) const;
    static bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);
    // Pixels of the area (the whole image when empty) in another colour than the view's colour
    // key RGB(1, 2, 3), where nothing but MPlayer or a logo draws.
    static int CountBesideColourKey(const QImage& image, const QRect& area = QRect());

private:
    QString Xdotool(const QStringList& arguments) const;

    XvfbSession m_Display;
    RavoloProcess::Sandbox m_Sandbox;
    std::unique_ptr<RavoloProcess> m_pProcess;
    quint64 m_nFrame = 0;
};
