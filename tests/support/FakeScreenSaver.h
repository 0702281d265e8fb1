#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QSet>

// The org.freedesktop.ScreenSaver service of a desktop, counting the inhibitions it holds.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    // Takes the service name and object path on the connection.
    bool Register(QDBusConnection connection);

    int ActiveCount() const { return int(m_Active.size()); }
    int InhibitCalls() const { return m_nInhibitCalls; }
    QString LastApplication() const { return m_strLastApplication; }

public slots:
    uint Inhibit(const QString& application, const QString& reason);
    void UnInhibit(uint cookie);

private:
    QSet<uint> m_Active;
    uint m_nNextCookie = 1;
    int m_nInhibitCalls = 0;
    QString m_strLastApplication;
};
