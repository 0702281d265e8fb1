#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

// How a second start reaches the running instance of the same user: the primary listens on a
// local socket named after the identifier in the user's runtime folder; a second start connects,
// asks it to come to the front and hands over its arguments.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(const QString& identifier, QObject* parent = nullptr);

    // Primary: start listening. From here on a second start finds this instance.
    bool Listen();
    void Close();

    // Second start: true when a running instance took the request.
    bool SendActivate(const QStringList& arguments, int timeoutMs = 2000) const;

    QString ServerName() const { return m_Name; }

signals:
    void activateRequested(const QStringList& arguments);

private:
    void OnNewConnection();

    QString m_Name;
    QLocalServer m_Server;
};
