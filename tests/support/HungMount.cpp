#include "support/HungMount.h"

#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
constexpr std::chrono::minutes kPatience{1};
} // namespace

HungMount::HungMount() {
    m_nFd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (m_nFd < 0 || !m_Dir.isValid())
        return;
    // The kernel's first request (FUSE_INIT) is never read: every later call waits for it.
    const QByteArray options = "fd=" + QByteArray::number(m_nFd) +
                               ",rootmode=40000,user_id=" + QByteArray::number(::getuid()) +
                               ",group_id=" + QByteArray::number(::getgid());
    m_bMounted = ::mount("nas:/films", QFile::encodeName(Path()).constData(), "fuse.sshfs",
                         MS_NOSUID | MS_NODEV, options.constData()) == 0;
    if (m_bMounted)
        m_Watchdog = std::thread(&HungMount::Watch, this);
}

HungMount::~HungMount() {
    if (m_Watchdog.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(m_Mutex);
            m_bEnding = true;
        }
        m_Ended.notify_all();
        m_Watchdog.join();
    }
    // Closing the server's end fails every call still waiting; then the mount can go.
    if (m_nFd >= 0)
        ::close(m_nFd);
    if (m_bMounted)
        ::umount2(QFile::encodeName(Path()).constData(), MNT_DETACH);
}

bool HungMount::GaveUp() const {
    const std::lock_guard<std::mutex> lock(m_Mutex);
    return m_bGaveUp;
}

void HungMount::Watch() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (m_Ended.wait_for(lock, kPatience, [this] { return m_bEnding; }))
        return;
    m_bGaveUp = true;
    ::close(m_nFd);
    m_nFd = -1;
}
