#pragma once

#include "support/ScopedEnvironment.h"

#include <QTemporaryDir>

// A temporary HOME whose MPlayer configuration sets video and audio output to null, so the
// real MPlayer runs without a display or a sound card. HOME is set while this object lives.
class MPlayerHome {
public:
    MPlayerHome();

    bool IsValid() const { return m_bValid; }
    QString Path() const { return m_Dir.path(); }

private:
    QTemporaryDir m_Dir;
    ScopedEnvironment m_Environment;
    bool m_bValid = false;
};
