#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <sys/stat.h>

namespace {

const QString kWaylandSocket = QStringLiteral("wayland-ravolo");

// Reads the server's output until the pattern's first group appears; "" when it never does. A
// busy machine may keep the server silent for a while: only its end or the deadline stop this.
QString WaitForOutput(QProcess& server, const QRegularExpression& pattern) {
    QDeadlineTimer deadline(kPatienceMs);
    QByteArray output;
    QRegularExpressionMatch match;
    while (!(match = pattern.match(QString::fromLocal8Bit(output))).hasMatch() &&
           !deadline.hasExpired() && server.state() == QProcess::Running) {
        server.waitForReadyRead(500);
        output += server.readAll();
    }
    return match.captured(1);
}

} // namespace

XvfbSession::XvfbSession(Kind kind) : m_Kind(kind) {
    if (kind == Kind::Wayland)
        StartWeston();
    else
        StartXvfb();
}

void XvfbSession::StartXvfb() {
    // -displayfd tells us the number it chose, so parallel tests never collide.
    m_Server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
    if (!m_Server.waitForStarted(kPatienceMs))
        return;
    const QString number = WaitForOutput(m_Server, QRegularExpression(QStringLiteral("^(\\d+)\n")));
    if (number.isEmpty())
        return;
    m_strDisplay = QStringLiteral(":") + number;
    m_WindowManager.setProcessEnvironment(ClientEnvironment());
    m_bRunning = m_Kind == Kind::XvfbWithoutWindowManager;
    if (m_bRunning)
        return;
    m_WindowManager.start(QStringLiteral("openbox"), {});
    m_bRunning = m_WindowManager.waitForStarted(kPatienceMs);
    // openbox takes the display a moment after it starts; its check window shows it is ready.
    QDeadlineTimer wmReady(kPatienceMs);
    while (m_bRunning && !wmReady.hasExpired() &&
           !Run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id")))
        QThread::msleep(50);
}

void XvfbSession::StartWeston() {
    // weston binds its X display in this folder, which a fresh machine may not have yet.
    if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix")) &&
        ::mkdir("/tmp/.X11-unix", 01777) == 0)
        ::chmod("/tmp/.X11-unix", 01777);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_RuntimeDir.path());
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_Server.setProcessEnvironment(env);
    m_Server.setProcessChannelMode(QProcess::MergedChannels);
    // XWayland listens on the first free display and starts when a client connects.
    m_Server.start(QStringLiteral("weston"),
                   {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--xwayland"),
                    QStringLiteral("--no-config"), QStringLiteral("--use-pixman"),
                    QStringLiteral("--width=1280"), QStringLiteral("--height=800"),
                    QStringLiteral("--socket=") + kWaylandSocket});
    if (!m_Server.waitForStarted(kPatienceMs))
        return;
    m_strDisplay = WaitForOutput(
        m_Server, QRegularExpression(QStringLiteral("xserver listening on display (:\\d+)")));
    m_bRunning = !m_strDisplay.isEmpty();
}

QProcessEnvironment XvfbSession::ClientEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_strDisplay);
    if (m_Kind == Kind::Xvfb) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    } else {
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_RuntimeDir.path());
        // A full path still finds the compositor where the program gets another runtime folder.
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_RuntimeDir.filePath(kWaylandSocket));
        // As a KDE Plasma session sets it: Qt then takes wayland unless told otherwise.
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    }
    return env;
}

XvfbSession::~XvfbSession() {
    for (QProcess* process : {&m_WindowManager, &m_Server}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QString XvfbSession::Run(const QString& program, const QStringList& arguments,
                         int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(ClientEnvironment());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

quint64 XvfbSession::FindWindow(const QString& name, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString ids = Run(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), name});
        const QString first = ids.section(QLatin1Char('\n'), 0, 0).trimmed();
        if (!first.isEmpty())
            return first.toULongLong();
        QThread::msleep(100);
    }
    return 0;
}

bool XvfbSession::Screenshot(const QString& path) const {
    Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    return QFile::exists(path);
}
