#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line the fake player recorded: an argument it was started with or a command it read.
struct FakeRecordEntry {
    QByteArray kind; // "pid", "arg", "fd", "cmd" or "out"
    qint64 ms = 0;   // CLOCK_MONOTONIC milliseconds at arrival
    QByteArray bytes;
};

// Reads what the fake player recorded (see fakeplayer/FakePlayerMain.cpp for the format).
class FakePlayerRecord {
public:
    explicit FakePlayerRecord(QString path) : m_strPath(std::move(path)) {}

    QList<FakeRecordEntry> Entries() const;
    QList<FakeRecordEntry> Commands() const;
    QList<QByteArray> CommandTexts() const;
    QList<QByteArray> Arguments() const;
    QList<QByteArray> InheritedFds() const;
    // One per start of the fake player, in order.
    QList<qint64> Pids() const;
    // The commands that the fake player started as the launch-th (from 0) received.
    QList<QByteArray> CommandTextsOfLaunch(int launch) const;

private:
    QList<FakeRecordEntry> EntriesOfKind(const QByteArray& kind) const;
    QList<QByteArray> BytesOfKind(const QByteArray& kind) const;

    QString m_strPath;
};
