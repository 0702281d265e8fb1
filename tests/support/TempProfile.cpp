#include "support/TempProfile.h"

#include <QFile>
#include <stdexcept>

TempProfile::TempProfile() {
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder for a profile");
}

QString TempProfile::Path() const {
    return m_dir.filePath(QStringLiteral("Ravolo.ini"));
}

QByteArray TempProfile::Bytes() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempProfile::SetBytes(const QByteArray& bytes) {
    QFile file(Path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test profile");
}

std::unique_ptr<SettingsStore> TempProfile::Reloaded() {
    const QString copy = m_dir.filePath(QStringLiteral("reload-%1.ini").arg(++m_nReloads));
    QFile::copy(Path(), copy);
    return std::make_unique<SettingsStore>(copy);
}
