#include "platform/SleepInhibitor.h"

SleepInhibitor::SleepInhibitor(const QDBusConnection& systemBus, QObject* parent)
    : InhibitRequest(systemBus, parent) {}

SleepInhibitor::~SleepInhibitor() {
    Release();
}

QDBusMessage SleepInhibitor::InhibitMessage() const {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    message << QStringLiteral("sleep") << QStringLiteral("Ravolo")
            << QStringLiteral("Ravolo 実行中") << QStringLiteral("block");
    return message;
}

bool SleepInhibitor::KeepToken(const QDBusMessage& reply) {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 1)
        return false;
    m_Lock = arguments[0].value<QDBusUnixFileDescriptor>();
    return m_Lock.isValid();
}

// The lock ends when the last copy of the descriptor is closed.
void SleepInhibitor::GiveBackToken() {
    m_Lock = QDBusUnixFileDescriptor();
}
