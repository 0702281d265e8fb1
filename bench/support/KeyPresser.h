#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// Presses keys on an X display through one xdotool that stays running and reads its commands
// from a pipe, so a key is synthesised (XTest) as soon as its line is written rather than after
// a program start. Each press is stamped on the monotonic clock as its line is handed over.
class KeyPresser {
public:
    explicit KeyPresser(const QString& display);
    ~KeyPresser();
    KeyPresser(const KeyPresser&) = delete;
    KeyPresser& operator=(const KeyPresser&) = delete;

    bool IsRunning() const { return m_Pid != 0; }
    // One xdotool command line, e.g. "key Return"; the time it was written.
    double Send(const QByteArray& command);
    double Key(const QByteArray& keys) { return Send("key " + keys); }
    // Gives the window the focus and waits until it has it.
    void Activate(uint32_t window);

private:
    pid_t m_Pid = 0;
    int m_nInput = -1;
};
