#include "platform/ChildProcess.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kTerminateGraceMs = 1000;
constexpr int kAboveNormalNice = -5;
constexpr auto kExitPollInterval = std::chrono::milliseconds(10);

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Keeps pipe ends off 0..2, so the child's dup2 steps cannot overwrite one another.
bool MoveAboveStandardFds(int& fd) {
    if (fd > STDERR_FILENO)
        return true;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    close(fd);
    fd = moved;
    return moved >= 0;
}

struct Pipe {
    int read = -1;
    int write = -1;

    bool Open() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            return false;
        read = ends[0];
        write = ends[1];
        return MoveAboveStandardFds(read) && MoveAboveStandardFds(write);
    }
    void Close() {
        CloseFd(read);
        CloseFd(write);
    }
};

// Runs in the forked child, so only async-signal-safe calls until the exec. Any failure is
// reported as errno through `report`, which the exec closes when it succeeds.
[[noreturn]] void RunChild(const char* program, char* const argv[], int input, int output,
                           int report, pid_t parent, int fdLimit) {
    // Killed with its parent, however the parent ends: an idle MPlayer whose driver has gone
    // waits on its pipe forever otherwise.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    // A group of its own: a Ctrl+C in the terminal or a signal to the whole group reaches only
    // the parent, which still needs the child to answer the position of the file it stops.
    setpgid(0, 0);
    // The parent's handlers must not run here, and SIGPIPE, ignored by the parent, must end
    // the child as it ends any program.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        if (signal != SIGKILL && signal != SIGSTOP)
            sigaction(signal, &byDefault, nullptr);
    if (dup2(input, STDIN_FILENO) >= 0 && dup2(output, STDOUT_FILENO) >= 0 &&
        dup2(output, STDERR_FILENO) >= 0) {
        if (close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC) != 0)
            for (int fd = STDERR_FILENO + 1; fd < fdLimit; ++fd)
                fcntl(fd, F_SETFD, FD_CLOEXEC);
        sigset_t noSignals;
        sigemptyset(&noSignals);
        sigprocmask(SIG_SETMASK, &noSignals, nullptr);
        execve(program, argv, environ);
    }
    const int error = errno;
    (void)!write(report, &error, sizeof error);
    _exit(127);
}

// The child gets its two pipe ends as 0, 1 and 2, nothing else, no blocked signals and the
// default action for every signal, whatever this process has set up. Returns 0 or the errno
// of the failed step, a failed exec included.
int Spawn(pid_t& pid, const QByteArray& program, char* const argv[], int input, int output) {
    Pipe report;
    if (!report.Open())
        return errno != 0 ? errno : EMFILE;
    const pid_t parent = getpid();
    const int fdLimit = static_cast<int>(sysconf(_SC_OPEN_MAX));
    // Every signal blocked across the fork, so no handler of ours runs in the child.
    sigset_t allSignals, oldMask;
    sigfillset(&allSignals);
    pthread_sigmask(SIG_SETMASK, &allSignals, &oldMask);
    const pid_t child = fork();
    if (child == 0)
        RunChild(program.constData(), argv, input, output, report.write, parent, fdLimit);
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    CloseFd(report.write);
    if (child < 0) {
        report.Close();
        return forkError;
    }
    int childError = 0;
    ssize_t got;
    do
        got = read(report.read, &childError, sizeof childError);
    while (got < 0 && errno == EINTR);
    report.Close();
    if (got == sizeof childError) {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        return childError != 0 ? childError : ENOEXEC;
    }
    pid = child;
    return 0;
}

bool HasExited(pid_t pid) {
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    return result == pid || (result < 0 && errno == ECHILD);
}

bool WaitForExit(pid_t pid, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!HasExited(pid)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kExitPollInterval);
    }
    return true;
}

// A write to a pipe whose reader is gone raises SIGPIPE in the writing thread. Blocking it
// around the write and taking it back afterwards leaves the rest of the program untouched.
bool WriteWithoutSigPipe(int fd, QByteArrayView bytes) {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t oldMask;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &oldMask);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE);

    ssize_t written;
    do
        written = write(fd, bytes.data(), static_cast<size_t>(bytes.size()));
    while (written < 0 && errno == EINTR);
    if (written < 0 && errno == EPIPE && !wasPending) {
        const timespec noWait{};
        while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    return written == bytes.size();
}

} // namespace

ChildProcess::~ChildProcess() {
    Reap(0);
    Close();
}

bool ChildProcess::Start(const QString& program, const QStringList& arguments) {
    if (m_Pid.load() != 0 || m_InputFd >= 0 || m_OutputFd >= 0)
        return false;
    Pipe input, output;
    if (!input.Open() || !output.Open()) {
        input.Close();
        output.Close();
        return false;
    }
    // Our end never blocks: a child that stops reading costs commands, not the caller's thread.
    fcntl(input.write, F_SETFL, fcntl(input.write, F_GETFL) | O_NONBLOCK);

    const QByteArray file = QFile::encodeName(program);
    std::vector<QByteArray> encoded{file};
    for (const QString& argument : arguments)
        encoded.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int result = Spawn(pid, file, argv.data(), input.read, output.write);
    CloseFd(input.read);
    CloseFd(output.write);
    if (result != 0) {
        input.Close();
        output.Close();
        return false;
    }
    m_InputFd = input.write;
    m_OutputFd = output.read;
    m_Pid.store(pid);
    return true;
}

void ChildProcess::RaisePriority() const {
    if (const pid_t pid = m_Pid.load(); pid != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), kAboveNormalNice); // refused: fine
}

bool ChildProcess::Write(QByteArrayView bytes) const {
    return m_InputFd >= 0 && WriteWithoutSigPipe(m_InputFd, bytes);
}

bool ChildProcess::Reap(int graceMs) {
    const pid_t pid = m_Pid.exchange(0);
    if (pid == 0)
        return false;
    // Signals go to the child's whole group: a wrapper script's pipeline would otherwise outlive
    // it and hold the output pipe open.
    if (!WaitForExit(pid, graceMs)) {
        kill(-pid, SIGTERM);
        if (!WaitForExit(pid, kTerminateGraceMs)) {
            kill(-pid, SIGKILL);
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
    kill(-pid, SIGKILL); // whatever of the group is left
    return true;
}

void ChildProcess::Close() {
    CloseFd(m_InputFd);
    CloseFd(m_OutputFd);
}
