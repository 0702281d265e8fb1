#include "support/FakeScreenSaver.h"

bool FakeScreenSaver::Register(QDBusConnection connection) {
    return connection.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
           connection.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), this,
                                     QDBusConnection::ExportAllSlots);
}

uint FakeScreenSaver::Inhibit(const QString& application, const QString&) {
    ++m_nInhibitCalls;
    m_strLastApplication = application;
    m_Active.insert(m_nNextCookie);
    return m_nNextCookie++;
}

void FakeScreenSaver::UnInhibit(uint cookie) {
    m_Active.remove(cookie);
}
