#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

QProcessEnvironment EnvironmentFor(const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    return env;
}

} // namespace

XvfbSession::XvfbSession(bool withWindowManager) {
    // -displayfd tells us the number it chose, so parallel tests never collide.
    m_Server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
    if (!m_Server.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(10000);
    QByteArray number;
    // Xvfb compiles its keymap before it answers, which on a busy machine takes seconds: only
    // the deadline or its end stops the wait.
    while (!number.contains('\n') && !deadline.hasExpired() &&
           m_Server.state() == QProcess::Running) {
        m_Server.waitForReadyRead(500);
        number += m_Server.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return;
    m_strDisplay = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    m_bRunning = !withWindowManager;
    if (m_bRunning)
        return;
    m_WindowManager.setProcessEnvironment(EnvironmentFor(m_strDisplay));
    m_WindowManager.start(QStringLiteral("openbox"), {});
    m_bRunning = m_WindowManager.waitForStarted(5000);
    // openbox takes the display a moment after it starts; its check window shows it is ready.
    QDeadlineTimer wmReady(5000);
    while (m_bRunning && !wmReady.hasExpired() &&
           !Run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id")))
        QThread::msleep(50);
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
    process.setProcessEnvironment(EnvironmentFor(m_strDisplay));
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
