#pragma once

#include <QString>

// The machine-wide single-instance marker: an flock on a file in the temporary folder, which
// every user of the machine can open. The kernel drops the lock when the process ends, however
// it ends, so a killed instance never blocks the next start.
class InstanceLock {
public:
    enum class Result { Primary, AlreadyRunning, Failed };

    explicit InstanceLock(const QString& identifier);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result Acquire();
    void Release();
    QString FilePath() const { return m_Path; }

private:
    QString m_Path;
    int m_Fd = -1;
};
