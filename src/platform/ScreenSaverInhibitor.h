#pragma once

#include "platform/InhibitRequest.h"

// Keeps the screen saver and display blanking away while a file plays, through the session
// bus's org.freedesktop.ScreenSaver service.
class ScreenSaverInhibitor : public InhibitRequest {
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(const QDBusConnection& sessionBus, QObject* parent = nullptr);
    ~ScreenSaverInhibitor() override;

protected:
    QDBusMessage InhibitMessage() const override;
    bool KeepToken(const QDBusMessage& reply) override;
    void GiveBackToken() override;

private:
    uint m_Cookie = 0;
};
