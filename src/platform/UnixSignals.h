#pragma once

#include <QObject>
#include <csignal>
#include <memory>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the thread that owns this object. The
// handler only writes the signal number into a pipe, the one thing it can do safely; the rest
// happens on the event loop. One instance at a time; the previous handlers come back when it
// is destroyed.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

    bool IsInstalled() const { return m_Notifier != nullptr; }

    // A write to a closed pipe or socket (MPlayer gone) then fails with EPIPE instead of ending
    // the process.
    static void IgnoreBrokenPipe();

signals:
    void terminationRequested(int signalNumber);

private:
    void OnReadable();

    int m_ReadFd = -1;
    std::unique_ptr<QSocketNotifier> m_Notifier;
    struct sigaction m_Previous[3] = {};
};
