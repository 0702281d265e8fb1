#include "support/FakeLogin1.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

FakeLogin1::~FakeLogin1() {
    if (m_nReadFd >= 0)
        ::close(m_nReadFd);
}

bool FakeLogin1::Register(QDBusConnection connection) {
    return connection.registerService(QStringLiteral("org.freedesktop.login1")) &&
           connection.registerObject(QStringLiteral("/org/freedesktop/login1"), this,
                                     QDBusConnection::ExportAllSlots);
}

bool FakeLogin1::IsLockHeld() const {
    if (m_nReadFd < 0)
        return false;
    pollfd entry = {m_nReadFd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 0;
}

QDBusUnixFileDescriptor FakeLogin1::Inhibit(const QString& what, const QString& who,
                                            const QString& why, const QString& mode) {
    m_LastArguments = {what, who, why, mode};
    int fds[2];
    if (m_nReadFd >= 0 || ::pipe2(fds, O_CLOEXEC) != 0)
        return QDBusUnixFileDescriptor();
    m_nReadFd = fds[0];
    // The descriptor object keeps its own copy; ours is closed so that only the lock remains.
    QDBusUnixFileDescriptor lock(fds[1]);
    ::close(fds[1]);
    return lock;
}
