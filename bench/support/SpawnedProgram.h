#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <sys/types.h>

// A program started with posix_spawn, so that the moment of the exec is known on the monotonic
// clock; its output goes to a log file. A program still running at destruction is terminated,
// its own children with it.
class SpawnedProgram {
public:
    SpawnedProgram() = default;
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;
    ~SpawnedProgram();

    bool Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, const QString& logPath = "/dev/null");
    // CLOCK_MONOTONIC milliseconds taken just before the spawn.
    double StartMs() const { return m_dStartMs; }
    pid_t Pid() const { return m_Pid; }
    bool IsRunning();
    bool WaitForExit(int timeoutMs);
    // SIGTERM, and SIGKILL (to it and its children) when it has not ended within timeoutMs.
    void Stop(int timeoutMs = 8000);

private:
    pid_t m_Pid = 0;
    double m_dStartMs = 0;
};
