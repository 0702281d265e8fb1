#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A D-Bus daemon of the test's own, with no service activation, ended with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool IsRunning() const { return !m_strAddress.isEmpty(); }
    QString Address() const { return m_strAddress; }
    // A new connection to this bus under a name unique in the process.
    QDBusConnection Connect(const QString& name);

    // A connection to a bus that does not exist: never connected.
    static QDBusConnection Absent();

private:
    QTemporaryDir m_Dir;
    QProcess m_Daemon;
    QString m_strAddress;
    QStringList m_Names;
};
