#include "platform/MprisService.h"

#include "platform/MprisPlayerAdaptor.h"
#include "platform/MprisRootAdaptor.h"

#include <QCoreApplication>
#include <QDBusMessage>

MprisService::MprisService(IMprisTarget& target, const QDBusConnection& connection, QObject* parent)
    : QObject(parent), m_Connection(connection), m_Player(new MprisPlayerAdaptor(this, target)) {
    new MprisRootAdaptor(this, target);
    if (!m_Connection.isConnected() || !m_Connection.registerObject(kObjectPath, this))
        return;
    if (!RegisterName())
        m_Connection.unregisterObject(kObjectPath);
}

MprisService::~MprisService() {
    if (!IsRegistered())
        return;
    m_Connection.unregisterService(m_ServiceName);
    m_Connection.unregisterObject(kObjectPath);
}

bool MprisService::RegisterName() {
    // The naming rule of MPRIS for a second player of the same kind on one bus.
    const QString name = QString::fromLatin1(kServiceName);
    for (const QString& candidate :
         {name, name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (m_Connection.registerService(candidate)) {
            m_ServiceName = candidate;
            return true;
        }
    }
    return false;
}

void MprisService::NotifyChanged() {
    const QVariantMap changed = m_Player->TakeChangedProperties();
    if (!IsRegistered() || changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(MprisPlayerAdaptor::kInterface) << changed << QStringList();
    m_Connection.send(signal);
}
