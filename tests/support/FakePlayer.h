#pragma once

#include "support/FakePlayerRecord.h"
#include "support/ScopedEnvironment.h"

#include <QTemporaryDir>

// Prepares the fake player for a test: its script and a fresh record file, handed over through
// the environment of children started while this object lives.
class FakePlayer {
public:
    explicit FakePlayer(const QByteArray& script);

    static QString Program();
    FakePlayerRecord Record() const { return FakePlayerRecord(m_strRecordPath); }

private:
    QTemporaryDir m_Dir;
    QString m_strRecordPath;
    ScopedEnvironment m_Environment;
};
