#include "platform/ScreenSaverInhibitor.h"

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection& sessionBus, QObject* parent)
    : InhibitRequest(sessionBus, parent) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    Release();
}

QDBusMessage ScreenSaverInhibitor::InhibitMessage() const {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    message << QStringLiteral("Ravolo") << QStringLiteral("再生中");
    return message;
}

bool ScreenSaverInhibitor::KeepToken(const QDBusMessage& reply) {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 1 || arguments[0].metaType() != QMetaType::fromType<uint>())
        return false;
    m_Cookie = arguments[0].toUInt();
    return true;
}

void ScreenSaverInhibitor::GiveBackToken() {
    // No answer is needed; the service drops the cookie in any case when we disconnect.
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("UnInhibit"));
    message << m_Cookie;
    Bus().send(message);
}
