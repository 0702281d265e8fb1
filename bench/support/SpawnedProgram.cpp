#include "support/SpawnedProgram.h"

#include "support/ProcessProbe.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

SpawnedProgram::~SpawnedProgram() {
    Stop();
}

bool SpawnedProgram::Start(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment, const QString& logPath) {
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    const size_t argumentCount = texts.size();
    for (const QString& variable : environment.toStringList())
        texts.push_back(variable.toLocal8Bit());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (size_t i = 0; i < texts.size(); ++i)
        (i < argumentCount ? argv : envp).push_back(texts[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray log = QFile::encodeName(logPath);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.constData(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    m_dStartMs = ProcessProbe::NowMs();
    const int failed = posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        m_Pid = 0;
    return failed == 0;
}

bool SpawnedProgram::IsRunning() {
    if (m_Pid == 0)
        return false;
    int status = 0;
    if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
        m_Pid = 0;
        return false;
    }
    return true;
}

bool SpawnedProgram::WaitForExit(int timeoutMs) {
    const double until = ProcessProbe::NowMs() + timeoutMs;
    while (IsRunning()) {
        if (ProcessProbe::NowMs() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void SpawnedProgram::Stop(int timeoutMs) {
    if (!IsRunning())
        return;
    kill(m_Pid, SIGTERM);
    if (WaitForExit(timeoutMs))
        return;
    for (const pid_t child : ProcessProbe::Children(m_Pid))
        kill(child, SIGKILL);
    kill(m_Pid, SIGKILL);
    WaitForExit(5000);
}
