#include "support/KeyPresser.h"

#include "support/ProcessProbe.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

KeyPresser::KeyPresser(const QString& display) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    const QByteArray displayVariable = "DISPLAY=" + display.toLocal8Bit();
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (QByteArray(*variable).startsWith("DISPLAY="))
            continue;
        envp.push_back(*variable);
    }
    envp.push_back(const_cast<char*>(displayVariable.constData()));
    envp.push_back(nullptr);
    char program[] = "xdotool";
    char fromInput[] = "-";
    char* argv[] = {program, fromInput, nullptr};
    if (posix_spawnp(&m_Pid, program, &actions, nullptr, argv, envp.data()) != 0)
        m_Pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    m_nInput = pipeEnds[1];
}

KeyPresser::~KeyPresser() {
    if (m_nInput >= 0)
        close(m_nInput); // xdotool ends at the end of its input
    if (m_Pid == 0)
        return;
    for (int wait = 0; wait < 200; ++wait) {
        if (waitpid(m_Pid, nullptr, WNOHANG) == m_Pid)
            return;
        usleep(10000);
    }
    kill(m_Pid, SIGKILL);
    waitpid(m_Pid, nullptr, 0);
}

double KeyPresser::Send(const QByteArray& command) {
    const QByteArray line = command + '\n';
    const double now = ProcessProbe::NowMs();
    if (write(m_nInput, line.constData(), static_cast<size_t>(line.size())) != line.size())
        return -1;
    return now;
}

void KeyPresser::Activate(uint32_t window) {
    Send("windowactivate --sync " + QByteArray::number(window));
}
