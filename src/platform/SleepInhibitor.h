#pragma once

#include "platform/InhibitRequest.h"

#include <QDBusUnixFileDescriptor>

// Keeps the system from going to sleep while the program runs: a "sleep" block lock from
// systemd-logind on the system bus, held as a file descriptor until it is closed.
class SleepInhibitor : public InhibitRequest {
    Q_OBJECT
public:
    explicit SleepInhibitor(const QDBusConnection& systemBus, QObject* parent = nullptr);
    ~SleepInhibitor() override;

protected:
    QDBusMessage InhibitMessage() const override;
    bool KeepToken(const QDBusMessage& reply) override;
    void GiveBackToken() override;

private:
    QDBusUnixFileDescriptor m_Lock;
};
