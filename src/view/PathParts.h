#pragma once

#include <QString>

// Splitting of folder paths and of the "root|display name" paths of drive items.
class PathParts {
public:
    // The text after the last "/", or "" when there is none.
    static QString FileNamePart(const QString& path);
    // The same, as a view into path: for comparing the names of a whole level without copies.
    static QStringView FileNameView(const QString& path);
    // The text before the last "/", or "" when there is none.
    static QString FolderPart(const QString& path);

    // The folder that holds a file: FolderPart, except "/" for a file in the root.
    static QString FolderOf(const QString& filePath);
    // A drive item's path: the root, "|", the display name.
    static QString DrivePath(const QString& root, const QString& displayName);
    // The text before the first "|" (the root; a display name may itself contain "|").
    static QString DriveRoot(const QString& drivePath);
    // The text after the first "|", or "" when there is none.
    static QString DriveDisplayName(const QString& drivePath);
};
