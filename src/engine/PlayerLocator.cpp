#include "engine/PlayerLocator.h"

#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString PlayerLocator::Locate(const QString& storedPath, const QString& programDir,
                              const QStringList& searchPaths) {
    if (!storedPath.isEmpty())
        return storedPath;
    const QString beside = QDir(programDir).filePath(kBesideProgram);
    if (IsRegularFile(beside))
        return beside;
    return QStandardPaths::findExecutable(kProgramName, searchPaths);
}

QString PlayerLocator::Locate(const QString& storedPath) {
    return Locate(storedPath, QCoreApplication::applicationDirPath());
}

QString PlayerLocator::DialogFolder(const QString& currentPath) {
    const qsizetype slash = currentPath.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : currentPath.left(slash);
}
