#include "support/PrivateBus.h"

#include "support/Patience.h"

#include <QFile>

namespace {
const char kConfig[] =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
} // namespace

PrivateBus::PrivateBus() {
    const QString configPath = m_Dir.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(QString::fromLatin1(kConfig).arg(m_Dir.path()).toUtf8());
    config.close();
    m_Daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + configPath, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    if (!m_Daemon.waitForStarted(kPatienceMs))
        return;
    while (!m_Daemon.canReadLine() && m_Daemon.waitForReadyRead(kPatienceMs)) {
    }
    m_strAddress = QString::fromUtf8(m_Daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    for (const QString& name : m_Names)
        QDBusConnection::disconnectFromBus(name);
    if (m_Daemon.state() != QProcess::NotRunning) {
        m_Daemon.terminate();
        if (!m_Daemon.waitForFinished(5000))
            m_Daemon.kill();
        m_Daemon.waitForFinished(5000);
    }
}

QDBusConnection PrivateBus::Connect(const QString& name) {
    m_Names << name;
    return QDBusConnection::connectToBus(m_strAddress, name);
}

QDBusConnection PrivateBus::Absent() {
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/ravolo-test-bus"),
                                         QStringLiteral("ravolo-absent-bus"));
}
