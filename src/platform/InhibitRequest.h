#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

class QDBusPendingCallWatcher;

// One keep-awake request to a D-Bus service, asked for and dropped at will. Calls never wait on
// the bus: the answer arrives later, and a request dropped before its answer is given back as
// soon as the answer comes. Where the bus or the service is missing nothing happens.
class InhibitRequest : public QObject {
    Q_OBJECT
public:
    // Both idempotent.
    void Inhibit();
    void Release();
    // The bus joined late, in place of none: a request already wanted is asked on it.
    void SetBus(const QDBusConnection& bus);

    bool IsRequested() const { return m_Wanted; }
    // Asked for; the service has not answered yet.
    bool IsPending() const { return m_Pending; }
    // The service granted the request and it is still held.
    bool IsHeld() const { return m_Held; }

signals:
    void heldChanged(bool held);

protected:
    InhibitRequest(const QDBusConnection& bus, QObject* parent);
    const QDBusConnection& Bus() const { return m_Bus; }

    virtual QDBusMessage InhibitMessage() const = 0;
    // Takes the token out of the service's answer; false when the answer holds none.
    virtual bool KeepToken(const QDBusMessage& reply) = 0;
    virtual void GiveBackToken() = 0;

    // A bus that does not answer within this time counts as absent.
    static constexpr int kCallTimeoutMs = 2000;

private:
    void OnAnswer(QDBusPendingCallWatcher* watcher);
    void SetHeld(bool held);

    QDBusConnection m_Bus;
    bool m_Wanted = false;
    bool m_Pending = false;
    bool m_Held = false;
};
