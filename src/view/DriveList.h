#pragma once

#include "settings/MediaItem.h"

#include <QList>
#include <QString>
#include <QStringList>

// One mounted volume as the system reports it.
struct VolumeInfo {
    QString rootPath;
    QString device;
    QString fileSystemType;
    QString label;
    bool isReady = false;

    bool operator==(const VolumeInfo&) const = default;
};

// The drive selection level: the home folder, then the volumes a user keeps media on.
class DriveList {
public:
    // The drives of this machine: the home folder and the mounted volumes.
    static QList<MediaItem> ListDrives();

    // Home first, then each kept volume in the order given, as Drive items "root|display name".
    // A volume is kept when it is ready and is "/" itself, on a device node (disks, USB sticks,
    // optical discs) or on a network share; pseudo and memory file systems, read-only package
    // images (squashfs), and boot partitions are left out, and a root is listed only once. A
    // root holding "|" cannot be told from its display name and is left out. "/" is always
    // listed, so every folder has a drive above it.
    static QList<MediaItem> ListDrives(const QString& home, const QList<VolumeInfo>& volumes);

    // The roots of the given drive items (the keys of their rows).
    static QStringList DriveRoots(const QList<MediaItem>& drives);

    // The mounted volumes that may hold media, in the kernel's order. Each is asked whether it is
    // ready (its root a folder) and for its label, all at once and for a short time only: one
    // that has not answered by then (a network share that hangs) counts as ready, without label.
    static QList<VolumeInfo> MountedVolumes();
};
