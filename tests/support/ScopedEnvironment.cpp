#include "support/ScopedEnvironment.h"

#include <QtGlobal>

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = m_Saved.rbegin(); it != m_Saved.rend(); ++it) {
        if (it->value)
            qputenv(it->name, *it->value);
        else
            qunsetenv(it->name);
    }
}

void ScopedEnvironment::Set(const char* name, const QByteArray& value) {
    std::optional<QByteArray> old;
    if (qEnvironmentVariableIsSet(name))
        old = qgetenv(name);
    m_Saved.push_back({name, old});
    qputenv(name, value);
}
