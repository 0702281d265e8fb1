#include "view/DriveList.h"

#include "view/PathParts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <chrono>
#include <cstdio>
#include <future>
#include <mntent.h>
#include <mutex>
#include <thread>
#include <vector>

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

// Told from the mount table alone, without asking the volume.
bool IsMediaMount(const VolumeInfo& volume) {
    if (IsBootPartition(volume.rootPath))
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
    drive.kind = MediaItemKind::Drive;
    drives.append(drive);
}

// The kernel's table: reading it never touches the mounted file systems.
QList<VolumeInfo> MountTable() {
    QList<VolumeInfo> volumes;
    FILE* table = ::setmntent("/proc/self/mounts", "re");
    if (table == nullptr)
        return volumes;
    mntent entry{};
    char buffer[4096];
    while (::getmntent_r(table, &entry, buffer, sizeof buffer) != nullptr) {
        volumes.append({QFile::decodeName(entry.mnt_dir), QString::fromLocal8Bit(entry.mnt_fsname),
                        QString::fromLatin1(entry.mnt_type), QString(), false});
    }
    ::endmntent(table);
    return volumes;
}

// What a volume tells about itself. Asking may hang for good on a network share that does not
// answer.
struct VolumeAnswer {
    bool isReady = false;
    QString label;
};

VolumeAnswer Ask(const QString& root) {
    if (!QFileInfo(root).isDir())
        return {};
    const QStorageInfo storage(root);
    return {storage.isValid() && storage.isReady(), storage.name()};
}

// How long the drive level waits for all volumes together.
constexpr std::chrono::milliseconds kAnswerBound{200};

// The roots whose question is still out. A share that hangs holds its thread; it is not asked
// again until that thread returns, so reading the drive level never piles up threads.
struct RootsAsked {
    std::mutex mutex;
    QSet<QString> roots;
};

// Never destroyed: a thread left behind may still return while the program ends.
RootsAsked& Asked() {
    static auto* asked = new RootsAsked;
    return *asked;
}

// Asks on a thread of its own, left behind if the answer never comes. Invalid when the root is
// still being asked.
std::future<VolumeAnswer> AskInTheBackground(const QString& root) {
    RootsAsked& asked = Asked();
    {
        const std::lock_guard<std::mutex> lock(asked.mutex);
        if (asked.roots.contains(root))
            return {};
        asked.roots.insert(root);
    }
    std::packaged_task<VolumeAnswer()> task([root, &asked] {
        VolumeAnswer answer = Ask(root);
        const std::lock_guard<std::mutex> lock(asked.mutex);
        asked.roots.remove(root);
        return answer;
    });
    std::future<VolumeAnswer> answer = task.get_future();
    std::thread(std::move(task)).detach();
    return answer;
}

// The root holds this program and its libraries: a root that does not answer has stopped the
// program already. Asked at once, it costs no thread, which a busy machine is slow to run.
std::future<VolumeAnswer> AskAtOnce(const QString& root) {
    std::promise<VolumeAnswer> answer;
    answer.set_value(Ask(root));
    return answer.get_future();
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
        if (!volume.isReady || !IsMediaMount(volume))
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
    for (const VolumeInfo& volume : MountTable()) {
        if (IsMediaMount(volume))
            volumes.append(volume);
    }
    std::vector<std::future<VolumeAnswer>> answers;
    for (const VolumeInfo& volume : volumes)
        answers.push_back(volume.rootPath == kRoot ? AskAtOnce(kRoot)
                                                   : AskInTheBackground(volume.rootPath));
    const auto deadline = std::chrono::steady_clock::now() + kAnswerBound;
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        std::future<VolumeAnswer>& answer = answers[static_cast<size_t>(i)];
        const bool answered =
            answer.valid() && answer.wait_until(deadline) == std::future_status::ready;
        // One that has not answered is listed all the same, by its root.
        const VolumeAnswer got = answered ? answer.get() : VolumeAnswer{true, QString()};
        volumes[i].isReady = got.isReady;
        volumes[i].label = got.label;
    }
    return volumes;
}
