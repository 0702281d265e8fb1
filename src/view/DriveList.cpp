#include "view/DriveList.h"

#include "view/PathParts.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

const QString kRoot = QStringLiteral("/");

bool IsNetworkShare(const QString& fileSystemType) {
    static const QStringList kNetworkTypes = {
        QStringLiteral("nfs"),  QStringLiteral("nfs4"),  QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs")};
    return kNetworkTypes.contains(fileSystemType);
}

bool IsBootPartition(const QString& rootPath) {
    return rootPath == QStringLiteral("/boot") || rootPath.startsWith(QStringLiteral("/boot/"));
}

bool IsMediaVolume(const VolumeInfo& volume) {
    if (!volume.isReady || IsBootPartition(volume.rootPath))
        return false;
    if (volume.rootPath == kRoot)
        return true;
    if (volume.device.startsWith(QStringLiteral("/dev/")))
        return volume.fileSystemType != QStringLiteral("squashfs");
    return IsNetworkShare(volume.fileSystemType);
}

// Appends a drive unless its root is already listed or cannot be told from its display name.
void AppendDrive(QList<MediaItem>& drives, QStringList& roots, const QString& root,
                 const QString& displayName) {
    if (root.isEmpty() || root.contains(u'|') || roots.contains(root))
        return;
    roots.append(root);
    MediaItem drive;
    drive.path = PathParts::DrivePath(root, displayName);
    drive.kind = Drive;
    drives.append(drive);
}

} // namespace

QList<MediaItem> DriveList::ListDrives() {
    return ListDrives(QDir::homePath(), MountedVolumes());
}

QList<MediaItem> DriveList::ListDrives(const QString& home, const QList<VolumeInfo>& volumes) {
    QList<MediaItem> drives;
    QStringList roots;
    AppendDrive(drives, roots, home, home);
    bool rootListed = false;
    for (const VolumeInfo& volume : volumes) {
        if (!IsMediaVolume(volume))
            continue;
        const QString& root = volume.rootPath;
        AppendDrive(drives, roots, root, volume.label.isEmpty() ? root : volume.label);
        rootListed = rootListed || root == kRoot;
    }
    if (!rootListed)
        AppendDrive(drives, roots, kRoot, kRoot);
    return drives;
}

QStringList DriveList::DriveRoots(const QList<MediaItem>& drives) {
    QStringList roots;
    for (const MediaItem& drive : drives)
        roots.append(PathParts::DriveRoot(drive.path));
    return roots;
}

QList<VolumeInfo> DriveList::MountedVolumes() {
    QList<VolumeInfo> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!QFileInfo(storage.rootPath()).isDir())
            continue;
        volumes.append({storage.rootPath(), QString::fromLocal8Bit(storage.device()),
                        QString::fromLatin1(storage.fileSystemType()), storage.name(),
                        storage.isValid() && storage.isReady()});
    }
    return volumes;
}
