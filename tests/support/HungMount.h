#pragma once

#include <QString>
#include <QTemporaryDir>
#include <condition_variable>
#include <mutex>
#include <thread>

// A network share that does not answer: a FUSE file system of type "fuse.sshfs" mounted on a
// temporary folder, whose server never replies, so every call that reaches it waits. Needs root
// and /dev/fuse; IsMounted() tells whether it worked. After a minute it lets go (every call still
// waiting then fails), so a test that would hang on it fails instead.
class HungMount {
public:
    HungMount();
    ~HungMount();
    HungMount(const HungMount&) = delete;
    HungMount& operator=(const HungMount&) = delete;

    bool IsMounted() const { return m_bMounted; }
    QString Path() const { return m_Dir.path(); }
    // The minute ran out while the mount was up.
    bool GaveUp() const;

private:
    void Watch();

    QTemporaryDir m_Dir;
    int m_nFd = -1;
    bool m_bMounted = false;
    mutable std::mutex m_Mutex;
    std::condition_variable m_Ended;
    bool m_bEnding = false;
    bool m_bGaveUp = false;
    std::thread m_Watchdog;
};
