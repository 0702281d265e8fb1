#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <sys/types.h>

#include <atomic>

// A child program with its standard input on one pipe and its output and errors on another. The
// child inherits nothing else. Start and the pipe ends belong to one thread; Reap and Pid may be
// called from any thread, and only the first Reap after a start waits for the child.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Runs `program` (one argument whatever it contains, no shell) with `arguments`. False when
    // the pipes cannot be made or the program cannot be executed; nothing stays open then.
    bool Start(const QString& program, const QStringList& arguments);

    // Above normal, where this user may raise a priority.
    void RaisePriority() const;

    // Writes all bytes or nothing. Never blocks, and a gone child never raises SIGPIPE here.
    bool Write(QByteArrayView bytes) const;

    int OutputFd() const { return m_OutputFd; }
    pid_t Pid() const { return m_Pid.load(); } // 0 before a start and once reaped

    // Waits up to graceMs for the child to exit, then terminates it (SIGTERM, then SIGKILL) and
    // reaps it. False when there was nothing to reap (never started, or reaped already).
    bool Reap(int graceMs);

    // Closes both pipe ends.
    void Close();

private:
    int m_InputFd = -1;  // our end of the child's standard input
    int m_OutputFd = -1; // our end of the child's standard output and error
    std::atomic<pid_t> m_Pid{0};
};
