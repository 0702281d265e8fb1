#include "support/HungMount.h"
#include "view/DriveList.h"
#include "view/PathParts.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList Paths(const QList<MediaItem>& drives) {
    QStringList paths;
    for (const MediaItem& drive : drives)
        paths.append(drive.path);
    return paths;
}

TEST(DriveList, KeepsDisksSticksDiscsAndSharesInReportedOrder) {
    const QList<VolumeInfo> volumes = {
        {"/proc", "proc", "proc", "", true},
        {"/", "/dev/nvme0n1p2", "ext4", "", true},
        {"/sys/fs/cgroup", "cgroup2", "cgroup2", "", true},
        {"/run/user/1000", "tmpfs", "tmpfs", "", true},
        {"/boot", "/dev/nvme0n1p1", "ext4", "", true},
        {"/boot/efi", "/dev/nvme0n1p1", "vfat", "", true},
        {"/snap/core/1", "/dev/loop0", "squashfs", "", true},
        {"/media/u/STICK", "/dev/sdb1", "vfat", "STICK", true},
        {"/media/u/win", "/dev/sdc1", "fuseblk", "Windows|Data", true},
        {"/media/u/dvd", "/dev/sr0", "iso9660", "MOVIE", false}, // no disc in the drive
        {"/mnt/nas", "nas:/films", "nfs4", "", true},
        {"/var/lib/docker/overlay2/x/merged", "overlay", "overlay", "", true},
        {"/mnt/a|b", "/dev/sdd1", "ext4", "", true},
        {"/media/u/STICK", "/dev/sdb1", "vfat", "STICK", true}, // mounted twice
        {"/run/media/u/CARD", "/dev/mmcblk0p1", "exfat", "CARD", true},
    };
    EXPECT_EQ(
        Paths(DriveList::ListDrives("/home/u", volumes)),
        (QStringList{"/home/u|/home/u", "/|/", "/media/u/STICK|STICK", "/media/u/win|Windows|Data",
                     "/mnt/nas|/mnt/nas", "/run/media/u/CARD|CARD"}));
}

TEST(DriveList, DrivesAreDriveItemsWithRootsAsKeys) {
    const QList<MediaItem> drives =
        DriveList::ListDrives("/home/u", {{"/", "/dev/sda1", "ext4", "root", true}});
    ASSERT_EQ(drives.size(), 2);
    for (const MediaItem& drive : drives) {
        EXPECT_EQ(drive.kind, MediaItemKind::Drive);
        EXPECT_FALSE(drive.isAudio);
        EXPECT_EQ(drive.fileSize, 0u);
        EXPECT_EQ(drive.positionSec, 0u);
    }
    EXPECT_EQ(PathParts::DriveDisplayName(drives[1].path), "root");
    EXPECT_EQ(DriveList::DriveRoots(drives), (QStringList{"/home/u", "/"}));
}

TEST(DriveList, RootIsListedEvenWhenNotReported) {
    EXPECT_EQ(Paths(DriveList::ListDrives("/home/u", {})), (QStringList{"/home/u|/home/u", "/|/"}));
    // in a container "/" is often an overlay; it still holds everything
    EXPECT_EQ(Paths(DriveList::ListDrives("/root", {{"/", "overlay", "overlay", "", true}})),
              (QStringList{"/root|/root", "/|/"}));
}

TEST(DriveList, HomeThatIsAMountRootIsListedOnce) {
    EXPECT_EQ(Paths(DriveList::ListDrives("/home/u", {{"/home/u", "/dev/sda3", "ext4", "", true},
                                                      {"/", "/dev/sda1", "ext4", "", true}})),
              (QStringList{"/home/u|/home/u", "/|/"}));
}

TEST(DriveList, ThisMachineListsHomeFirstAndRoot) {
    QStringList roots = DriveList::DriveRoots(DriveList::ListDrives());
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.first(), QDir::homePath());
    EXPECT_TRUE(roots.contains("/"));
    EXPECT_EQ(roots.removeDuplicates(), 0);
    for (const QString& root : roots)
        EXPECT_TRUE(QFileInfo(root).isDir()) << root.toStdString();
}

int ThreadCount() {
    return static_cast<int>(
        QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// A hung share costs the drive level a short wait, and one waiting thread however often it is read.
TEST(DriveListMachineWide, AShareThatDoesNotAnswerIsListedByItsRoot) {
    const int threadsBefore = ThreadCount();
    const HungMount share;
    if (!share.IsMounted())
        GTEST_SKIP() << "cannot mount a FUSE file system here (needs root and /dev/fuse)";
    for (int read = 0; read < 3; ++read) {
        const QStringList paths = Paths(DriveList::ListDrives());
        EXPECT_TRUE(paths.contains(share.Path() + "|" + share.Path()))
            << paths.join(' ').toStdString();
    }
    // Beside the watchdog of the share, one thread still asks it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() <= threadsBefore + 2; }))
        << ThreadCount() - threadsBefore << " more threads";
    EXPECT_FALSE(share.GaveUp()) << "listing the drives waited for the share";
}

} // namespace
