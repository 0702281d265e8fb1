#include "engine/CMPlayerEngine.h"

#include "engine/AnswerLineAssembler.h"
#include "engine/SlaveCommandText.h"
#include "engine/SlaveProtocol.h"
#include "platform/ProcessCpuClock.h"

#include <cerrno>
#include <chrono>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// For MPlayer to exit after "quit", seen as the end of its output: a second, and two more for a
// slow exit before it is terminated.
constexpr auto kQuitWait = 3000ms;
constexpr int kExitAfterOutputMs = 2000; // output closed: time left to exit before SIGTERM
constexpr int kDeadExitGraceMs = 1000;   // output ended unasked: time to exit before SIGTERM
constexpr int kReaderNice = -5;          // above normal, where permitted
constexpr int kReadBlockBytes = 4096;

QString Ascii(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray Bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList LaunchArguments(quint64 windowId) {
    QStringList arguments;
    for (std::string_view argument : SlaveProtocol::kModeArguments)
        arguments << Ascii(argument);
    arguments << Ascii(SlaveProtocol::kWindowArgument) << "0x" + QString::number(windowId, 16);
    arguments << Ascii(SlaveProtocol::kColorKeyArgument)
              << "0x" + QString::number(SlaveProtocol::kColorKey, 16);
    return arguments;
}

} // namespace

CMPlayerEngine::CMPlayerEngine(IAnswerSink& sink, CpuCycleClock cpuClock)
    : m_Sink(sink), m_CpuClock(cpuClock ? std::move(cpuClock) : ProcessCpuClock::Cycles) {}

CMPlayerEngine::~CMPlayerEngine() {
    if (m_ReaderThread.joinable())
        Quit();
}

bool CMPlayerEngine::Launch(const QString& path, quint64 windowId) {
    if (m_ReaderThread.joinable())
        return false;
    if (!m_Process.Start(path, LaunchArguments(windowId)))
        return false;
    if (m_PlayerPriorityRaised)
        m_Process.RaisePriority();
    m_Quitting.store(false);
    m_Readiness.Reset();
    ++m_Launch;
    std::promise<void> ended;
    m_ReaderEnded = ended.get_future();
    try {
        m_ReaderThread = std::thread(&CMPlayerEngine::ReaderThreadProc, this, m_Process.OutputFd(),
                                     m_Launch, std::move(ended));
    } catch (const std::system_error&) {
        m_Process.Reap(0);
        m_Process.Close();
        return false;
    }
    NotifyWork();
    return true;
}

void CMPlayerEngine::SetPlayerPriorityRaised(bool raised) {
    m_PlayerPriorityRaised = raised;
    if (raised)
        m_Process.RaisePriority();
}

void CMPlayerEngine::Quit() {
    m_Quitting.store(true);
    m_Process.Write(Bytes(SlaveProtocol::kQuit)); // fails harmlessly when none runs
    StopReader();
    m_Readiness.Reset();
    m_Process.Close();
}

void CMPlayerEngine::StopReader() {
    if (!m_ReaderThread.joinable())
        return;
    // Ready at once when the reader has seen MPlayer die and reaped it already.
    const bool outputClosed = m_ReaderEnded.wait_for(kQuitWait) == std::future_status::ready;
    m_Process.Reap(outputClosed ? kExitAfterOutputMs : 0);
    m_ReaderThread.join();
}

void CMPlayerEngine::OnTimerTick() {
    switch (m_Readiness.State()) {
    case PrepState::Preparing:
        m_Readiness.OnTick([this] { return ReadCycles(); });
        break;
    case PrepState::Ready:
        if (std::optional<QByteArray> text = m_Queue.TakeDue())
            m_Process.Write(*text); // a failed write loses the command, silently
        break;
    case PrepState::NotStarted:
        break;
    }
}

bool CMPlayerEngine::NeedsTick() const {
    return IsReady() ? HasQueuedCommands() : m_ReaderThread.joinable();
}

void CMPlayerEngine::NotifyWork() {
    if (m_WorkNotifier)
        m_WorkNotifier();
}

std::optional<uint64_t> CMPlayerEngine::ReadCycles() const {
    const pid_t pid = m_Process.Pid();
    if (pid == 0)
        return std::nullopt;
    return m_CpuClock(pid);
}

void CMPlayerEngine::ReaderThreadProc(int outputFd, long launch, std::promise<void> ended) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kReaderNice); // refused: fine
    AnswerLineAssembler lines;
    // What is there, up to a block: one byte per call costs a core for a chatty player.
    char block[kReadBlockBytes];
    for (;;) {
        const ssize_t count = read(outputFd, block, sizeof block);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        m_Readiness.OnOutput([this] { return ReadCycles(); });
        for (ssize_t i = 0; i < count; ++i) {
            if (std::optional<Answer> answer = lines.FeedByte(block[i]))
                m_Sink.PostAnswer(answer->number, answer->value);
        }
    }
    if (!m_Quitting.load()) {
        // A player that closed its output is of no more use, even if it still runs.
        m_Process.Reap(kDeadExitGraceMs);
        m_Sink.PostAnswer(WM_MP_EXITED, launch);
    }
    ended.set_value();
}

void CMPlayerEngine::Enqueue(int delay, QByteArray text) {
    m_Queue.Push(SlaveCommand{delay, std::move(text)});
    NotifyWork();
}

void CMPlayerEngine::Send(SlaveCmd command) {
    const SlaveProtocol::FixedCommand& row = SlaveProtocol::Fixed(command);
    Enqueue(row.delay, Bytes(row.text));
}

bool CMPlayerEngine::LoadFile(const QString& path) {
    std::optional<QByteArray> text = SlaveCommandText::LoadFile(path);
    if (!text)
        return false;
    Enqueue(SlaveProtocol::kArgumentCommandDelay, std::move(*text));
    return true;
}

void CMPlayerEngine::SetSpeed(int delay, int percent) {
    Enqueue(delay, SlaveCommandText::SetSpeed(percent));
}

void CMPlayerEngine::SeekRelative(int seconds) {
    Enqueue(SlaveProtocol::kArgumentCommandDelay, SlaveCommandText::SeekRelative(seconds));
}

void CMPlayerEngine::SeekAbsolute(uint32_t seconds) {
    Enqueue(SlaveProtocol::kArgumentCommandDelay, SlaveCommandText::SeekAbsolute(seconds));
}

void CMPlayerEngine::ShowOsdText(const QByteArray& text) {
    Enqueue(SlaveProtocol::kArgumentCommandDelay, SlaveCommandText::ShowOsdText(text));
}
