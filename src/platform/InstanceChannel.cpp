#include "platform/InstanceChannel.h"

#include <QDataStream>
#include <QLocalSocket>
#include <unistd.h>

namespace {

constexpr quint32 kActivateMagic = 0x52415631; // "RAV1"

} // namespace

InstanceChannel::InstanceChannel(const QString& identifier, QObject* parent)
    : QObject(parent), m_strName(identifier + QStringLiteral("-") + QString::number(::getuid())) {
    connect(&m_Server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
}

bool InstanceChannel::Listen() {
    // Only the holder of the instance lock listens, so a socket file left here is stale.
    QLocalServer::removeServer(m_strName);
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_Server.listen(m_strName);
}

void InstanceChannel::Close() { m_Server.close(); }

bool InstanceChannel::SendActivate(const QStringList& arguments, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << kActivateMagic << arguments;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The primary closes the connection once it has read the request.
    socket.waitForDisconnected(timeoutMs);
    return true;
}

void InstanceChannel::OnNewConnection() {
    while (QLocalSocket* socket = m_Server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            quint32 magic = 0;
            QStringList arguments;
            in >> magic >> arguments;
            if (!in.commitTransaction())
                return; // wait for the rest
            socket->disconnectFromServer();
            if (magic == kActivateMagic)
                emit activateRequested(arguments);
        });
    }
}
