#include "view/FolderNavigation.h"

#include "view/PathParts.h"

namespace {

const QString kRoot = QStringLiteral("/");

// The folder without trailing "/", except the root itself, so "/a/" and "/a" are one folder.
QString WithoutTrailingSlash(const QString& folder) {
    QString trimmed = folder;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed;
}

// The drive root that is this folder, spelled as listed (the key of its drive row).
std::optional<QString> ListedRoot(const QString& folder, const QStringList& driveRoots) {
    for (const QString& root : driveRoots) {
        if (WithoutTrailingSlash(root) == folder)
            return root;
    }
    if (folder == kRoot)
        return kRoot;
    return std::nullopt;
}

bool Holds(const QString& root, const QString& folder) {
    if (root == kRoot)
        return folder.startsWith(kRoot);
    return folder == root || (folder.startsWith(root) && folder.at(root.size()) == u'/');
}

} // namespace

std::optional<FolderMove> FolderNavigation::GoUpFolder(const QString& current,
                                                       const QStringList& driveRoots) {
    if (current.isEmpty())
        return std::nullopt;
    const QString folder = WithoutTrailingSlash(current);
    if (const std::optional<QString> root = ListedRoot(folder, driveRoots))
        return FolderMove{QString(), *root};
    if (!folder.contains(u'/'))
        return FolderMove{QString(), current};
    const QString parent = PathParts::FolderPart(folder);
    return FolderMove{parent.isEmpty() ? kRoot : parent, PathParts::FileNamePart(folder)};
}

std::optional<FolderMove> FolderNavigation::GoTopFolder(const QString& current,
                                                        const QStringList& driveRoots) {
    const QString folder = WithoutTrailingSlash(current);
    if (!folder.startsWith(kRoot))
        return std::nullopt;
    QString best = kRoot;
    QString bestListed = kRoot;
    for (const QString& listed : driveRoots) {
        const QString root = WithoutTrailingSlash(listed);
        if (root.size() >= best.size() && Holds(root, folder)) {
            best = root;
            bestListed = listed;
        }
    }
    return FolderMove{QString(), bestListed};
}
