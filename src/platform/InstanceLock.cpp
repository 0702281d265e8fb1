#include "platform/InstanceLock.h"

#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const QString& identifier)
    : m_strPath(QDir(QDir::tempPath()).filePath(identifier + QStringLiteral(".lock"))) {}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Result InstanceLock::Acquire() {
    // Read-only is enough for flock, and lets another user's instance open a file we created.
    const QByteArray path = QFile::encodeName(m_strPath);
    m_nFd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (m_nFd < 0)
        return Result::Failed;
    if (::flock(m_nFd, LOCK_EX | LOCK_NB) == 0)
        return Result::Primary;
    const bool held = errno == EWOULDBLOCK;
    ::close(m_nFd);
    m_nFd = -1;
    return held ? Result::AlreadyRunning : Result::Failed;
}

void InstanceLock::Release() {
    if (m_nFd < 0)
        return;
    ::flock(m_nFd, LOCK_UN);
    ::close(m_nFd);
    m_nFd = -1;
}
