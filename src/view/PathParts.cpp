#include "view/PathParts.h"

namespace {

constexpr QChar kSeparator = u'/';
constexpr QChar kDriveSeparator = u'|';

} // namespace

QString PathParts::FileNamePart(const QString& path) {
    return FileNameView(path).toString();
}

QStringView PathParts::FileNameView(const QString& path) {
    const qsizetype last = path.lastIndexOf(kSeparator);
    return last < 0 ? QStringView() : QStringView(path).sliced(last + 1);
}

QString PathParts::FolderPart(const QString& path) {
    const qsizetype last = path.lastIndexOf(kSeparator);
    return last < 0 ? QString() : path.left(last);
}

QString PathParts::DrivePath(const QString& root, const QString& displayName) {
    return root + kDriveSeparator + displayName;
}

QString PathParts::DriveRoot(const QString& drivePath) {
    const qsizetype first = drivePath.indexOf(kDriveSeparator);
    return first < 0 ? drivePath : drivePath.left(first);
}

QString PathParts::DriveDisplayName(const QString& drivePath) {
    const qsizetype first = drivePath.indexOf(kDriveSeparator);
    return first < 0 ? QString() : drivePath.mid(first + 1);
}

QString PathParts::FolderOf(const QString& filePath) {
    const QString folder = FolderPart(filePath);
    return folder.isEmpty() && filePath.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : folder;
}
