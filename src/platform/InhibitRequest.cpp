#include "platform/InhibitRequest.h"

#include <QDBusPendingCallWatcher>

InhibitRequest::InhibitRequest(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_Bus(bus) {}

void InhibitRequest::Inhibit() {
    m_Wanted = true;
    if (m_Held || m_Pending || !m_Bus.isConnected())
        return;
    m_Pending = true;
    auto* watcher =
        new QDBusPendingCallWatcher(m_Bus.asyncCall(InhibitMessage(), kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &InhibitRequest::OnAnswer);
}

void InhibitRequest::SetBus(const QDBusConnection& bus) {
    m_Bus = bus;
    if (m_Wanted)
        Inhibit();
}

void InhibitRequest::Release() {
    m_Wanted = false;
    if (!m_Held)
        return;
    GiveBackToken();
    SetHeld(false);
}

void InhibitRequest::OnAnswer(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    m_Pending = false;
    if (watcher->isError() || !KeepToken(watcher->reply()))
        return;
    SetHeld(true);
    // Dropped while the answer was on its way.
    if (!m_Wanted)
        Release();
}

void InhibitRequest::SetHeld(bool held) {
    m_Held = held;
    emit heldChanged(held);
}
