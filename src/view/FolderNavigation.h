#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Where a move leaves the folder screen: the level to read ("" is the drive selection) and the
// key of the row to select there (a folder's name, or a drive's root).
struct FolderMove {
    QString newFolder;
    QString selectName;

    bool operator==(const FolderMove&) const = default;
};

// Going up one level and to the drive selection. "/" is always a drive root; driveRoots are the
// roots of the listed drives (the home folder and the mount roots), which count as drive roots
// too, so going up from one of them reaches the drive selection.
class FolderNavigation {
public:
    // No move (nullopt) at the drive selection.
    static std::optional<FolderMove> GoUpFolder(const QString& current,
                                                const QStringList& driveRoots);
    // Selects the drive whose root holds the current folder (the longest matching root). No move
    // at the drive selection or for a folder that is not an absolute path.
    static std::optional<FolderMove> GoTopFolder(const QString& current,
                                                 const QStringList& driveRoots);
};
