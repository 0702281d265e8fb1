#include "platform/InstanceLock.h"

#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Read-only is enough for flock. A link is never followed and a pipe never waited on: whatever
// another user put there instead of the file only makes the start fail.
constexpr int kOpenFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
// Readable by every user, so each can take the lock, whatever the umask of its first creator.
constexpr mode_t kMode = 0644;
// Creating and another start removing it in between, over and over, is no real case.
constexpr int kOpenAttempts = 3;

// An existing file is opened without O_CREAT: with fs.protected_regular set, a create-open of a
// file that another user owns in the shared temporary folder fails even though it is readable.
int OpenLockFile(const QByteArray& path) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        int fd = ::open(path.constData(), kOpenFlags);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = ::open(path.constData(), kOpenFlags | O_CREAT | O_EXCL, kMode);
        if (fd >= 0) {
            ::fchmod(fd, kMode);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool IsRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

InstanceLock::InstanceLock(const QString& identifier)
    : m_Path(QDir(QDir::tempPath()).filePath(identifier + QStringLiteral(".lock"))) {}

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::Result InstanceLock::Acquire() {
    m_Fd = OpenLockFile(QFile::encodeName(m_Path));
    if (m_Fd < 0)
        return Result::Failed;
    if (!IsRegularFile(m_Fd)) {
        Release();
        return Result::Failed;
    }
    if (::flock(m_Fd, LOCK_EX | LOCK_NB) == 0)
        return Result::Primary;
    const bool held = errno == EWOULDBLOCK;
    ::close(m_Fd);
    m_Fd = -1;
    return held ? Result::AlreadyRunning : Result::Failed;
}

void InstanceLock::Release() {
    if (m_Fd < 0)
        return;
    ::flock(m_Fd, LOCK_UN);
    ::close(m_Fd);
    m_Fd = -1;
}
