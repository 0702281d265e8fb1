#pragma once

#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A profile file "Ravolo.ini" in a temporary folder of its own.
class TempProfile {
public:
    TempProfile();

    QString Path() const;
    QString DirPath() const { return m_dir.path(); }
    QByteArray Bytes() const; // empty when the file does not exist
    void SetBytes(const QByteArray& bytes);

    // A store over a copy of the file as it is on disk now: what the next start of the program
    // would read, untouched by the copy of the file that Qt keeps in this process.
    std::unique_ptr<SettingsStore> Reloaded();

private:
    QTemporaryDir m_dir;
    int m_nReloads = 0;
};
