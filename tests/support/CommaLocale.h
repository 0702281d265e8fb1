#pragma once

#include "support/ScopedEnvironment.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// Switches the C library's LC_NUMERIC to a German locale (decimal comma) while it lives. When
// the system has none installed, one is compiled with localedef into a temporary folder.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();

    bool IsActive() const { return m_bActive; }
    QString Reason() const { return m_strReason; } // why not, when not active

private:
    bool Activate();
    bool CompileLocale();

    QByteArray m_OldLocale;
    std::unique_ptr<QTemporaryDir> m_Dir;
    ScopedEnvironment m_Environment;
    bool m_bActive = false;
    QString m_strReason;
};
