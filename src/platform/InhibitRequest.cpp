#include "platform/InhibitRequest.h"

#include <QDBusPendingCallWatcher>

InhibitRequest::InhibitRequest(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_Bus(bus) {}

void InhibitRequest::Inhibit() {
    m_bWanted = true;
    if (m_bHeld || m_bPending || !m_Bus.isConnected())
        return;
    m_bPending = true;
    auto* watcher =
        new QDBusPendingCallWatcher(m_Bus.asyncCall(InhibitMessage(), kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &InhibitRequest::OnAnswer);
}

void InhibitRequest::Release() {
    m_bWanted = false;
    if (!m_bHeld)
        return;
    GiveBackToken();
    SetHeld(false);
}

void InhibitRequest::OnAnswer(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    m_bPending = false;
    if (watcher->isError() || !KeepToken(watcher->reply()))
        return;
    SetHeld(true);
    // Dropped while the answer was on its way.
    if (!m_bWanted)
        Release();
}

void InhibitRequest::SetHeld(bool held) {
    m_bHeld = held;
    emit heldChanged(held);
}
