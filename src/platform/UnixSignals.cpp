#include "platform/UnixSignals.h"

#include <QPointer>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kHandledSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end for the handler; -1 while no instance exists.
std::atomic<int> g_nWriteFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe drops the byte: the first of the pending requests is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(g_nWriteFd.load(), &number, 1);
    errno = savedErrno;
}

} // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent) {
    int fds[2];
    if (g_nWriteFd.load() >= 0 || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_ReadFd = fds[0];
    g_nWriteFd.store(fds[1]);
    m_Notifier = std::make_unique<QSocketNotifier>(m_ReadFd, QSocketNotifier::Read);
    connect(m_Notifier.get(), &QSocketNotifier::activated, this, &UnixSignals::OnReadable);

    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigfillset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kHandledSignals); ++i)
        ::sigaction(kHandledSignals[i], &action, &m_Previous[i]);
}

UnixSignals::~UnixSignals() {
    if (!IsInstalled())
        return;
    for (size_t i = 0; i < std::size(kHandledSignals); ++i)
        ::sigaction(kHandledSignals[i], &m_Previous[i], nullptr);
    m_Notifier.reset();
    ::close(g_nWriteFd.exchange(-1));
    ::close(m_ReadFd);
}

void UnixSignals::IgnoreBrokenPipe() {
    ::signal(SIGPIPE, SIG_IGN);
}

void UnixSignals::OnReadable() {
    QByteArray numbers;
    char buffer[16];
    ssize_t count;
    while ((count = ::read(m_ReadFd, buffer, sizeof buffer)) > 0)
        numbers.append(buffer, count);
    // A receiver may end this object.
    const QPointer<UnixSignals> alive(this);
    for (char number : numbers) {
        if (!alive)
            return;
        emit terminationRequested(static_cast<unsigned char>(number));
    }
}
