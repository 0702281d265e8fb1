#pragma once

#include "engine/CommandQueue.h"
#include "engine/IAnswerSink.h"
#include "engine/IPlayerControl.h"
#include "engine/ISlaveCommands.h"
#include "engine/PrepState.h"
#include "engine/ReadinessMeter.h"
#include "engine/SlaveProtocol.h"
#include "platform/ChildProcess.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <thread>

// Owns the one MPlayer child: starts it in idle slave mode drawing into the view's window, reads
// its answers on a reader thread (posted through the sink), decides when it is ready, and writes
// the queued slave commands one per timer tick. Everything except the reader runs on the
// user-interface thread.
//
// When MPlayer's output ends without our Quit (it died), the reader reaps it and posts
// WM_MP_EXITED with the number of its launch. The view then calls Quit(), which returns at once
// in that case, and Launch() again.
class CMPlayerEngine : public ISlaveCommands, public IPlayerControl {
public:
    using CpuCycleClock = std::function<std::optional<uint64_t>(pid_t)>;

    // The sink must outlive the engine. The clock is called from both threads.
    explicit CMPlayerEngine(IAnswerSink& sink, CpuCycleClock cpuClock = nullptr);
    CMPlayerEngine(const CMPlayerEngine&) = delete;
    CMPlayerEngine& operator=(const CMPlayerEngine&) = delete;
    ~CMPlayerEngine();

    // Starts MPlayer and the reader. False when it cannot run (nothing stays open then) or
    // while an MPlayer is still launched (Quit it first).
    bool Launch(const QString& path, quint64 windowId);
    // MPlayer runs above normal priority (where permitted) unless held at normal: raising it
    // again raises the running one too.
    void SetPlayerPriorityRaised(bool raised);

    // Writes "quit", pauses 1000 ms (skipped once a death has been reported), waits a bounded
    // time for MPlayer to end, terminates it if it does not, and always reaps it. The queue is
    // kept for the next MPlayer.
    void Quit();

    // Every 50 ms tick: a readiness measurement while Preparing, at most one command when Ready.
    void OnTimerTick();
    // Whether a tick has anything to do: MPlayer launched and not yet ready, or commands waiting
    // for a ready one.
    bool NeedsTick() const;
    // Called when work for the tick arrives (a command queued, a launch), so that a sleeping
    // timer can wake. User-interface thread only.
    void SetWorkNotifier(std::function<void()> notifier) { m_WorkNotifier = std::move(notifier); }

    PrepState GetPrepState() const { return m_Readiness.State(); }
    bool IsReady() const override { return GetPrepState() == PrepState::Ready; }
    bool HasQueuedCommands() const override { return !m_Queue.Pending().empty(); }
    // Counts the launches: a death notice naming an earlier one is about an MPlayer already
    // replaced (a path change or a restart came first), never about the running one.
    long LaunchNumber() const { return m_Launch; }
    void SetPrepCycleTime(uint32_t threshold) { m_Readiness.SetThreshold(threshold); }
    pid_t ProcessId() const { return m_Process.Pid(); }
    const CommandQueue& Queue() const { return m_Queue; }
    // Drops the commands still queued: after a death they belong to a session that is gone.
    void DiscardQueue() { m_Queue.Clear(); }

    // The slave commands: each only queues its line. LoadFile queues nothing and returns false
    // for a path that cannot be sent safely.
    void Send(SlaveCmd command) override;
    bool LoadFile(const QString& path) override;
    void SetSpeed(int delay, int percent) override;
    void SeekRelative(int seconds) override;
    void SeekAbsolute(uint32_t seconds) override;
    void ShowOsdText(const QByteArray& text) override;

private:
    void Enqueue(int delay, QByteArray text);
    std::optional<uint64_t> ReadCycles() const;
    void ReaderThreadProc(int outputFd, long launch, std::promise<void> ended);
    void StopReader();
    void NotifyWork();

    IAnswerSink& m_Sink;
    CpuCycleClock m_CpuClock;
    ChildProcess m_Process;
    std::thread m_ReaderThread;
    std::future<void> m_ReaderEnded;
    std::atomic<bool> m_Quitting{false}; // the end of MPlayer's output is our own doing
    ReadinessMeter m_Readiness;
    CommandQueue m_Queue;
    long m_Launch = 0;
    bool m_PlayerPriorityRaised = true;
    std::function<void()> m_WorkNotifier;
};
