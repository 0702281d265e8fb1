#include "platform/InstanceChannel.h"

#include <QDataStream>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr quint32 kActivateMagic = 0x52415631; // "RAV1"

// Empty when the user has no runtime folder that is safely their own: no hand-over then.
QString SocketPath(const QString& identifier) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QString() : folder + u'/' + identifier;
}

} // namespace

// In the user's runtime folder ($XDG_RUNTIME_DIR, else a private folder of the user's own): in
// the shared temporary folder another user could take the name first and be handed every path.
InstanceChannel::InstanceChannel(const QString& identifier, QObject* parent)
    : QObject(parent), m_Name(SocketPath(identifier)) {
    connect(&m_Server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
}

bool InstanceChannel::Listen() {
    if (m_Name.isEmpty())
        return false;
    // Only the holder of the instance lock listens, so a socket file left here is stale.
    QLocalServer::removeServer(m_Name);
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_Server.listen(m_Name);
}

void InstanceChannel::Close() {
    m_Server.close();
}

bool InstanceChannel::SendActivate(const QStringList& arguments, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_Name);
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
