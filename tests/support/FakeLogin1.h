#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>

// systemd-logind's manager as far as inhibitor locks go: each lock is the write end of a pipe
// whose read end stays here, so the test sees when every copy of the lock has been closed.
class FakeLogin1 : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~FakeLogin1() override;
    bool Register(QDBusConnection connection);

    // The arguments of the last Inhibit call: what, who, why, mode.
    QStringList LastArguments() const { return m_LastArguments; }
    // A lock was handed out and some copy of it is still open.
    bool IsLockHeld() const;

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode);

private:
    QStringList m_LastArguments;
    int m_nReadFd = -1;
};
