#include "view/PathParts.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    QString path;
    QString folderPart;
    QString fileNamePart;
};

TEST(PathParts, SplitsAtTheLastSlash) {
    const SplitCase cases[] = {
        {"/home/u/Videos/clip.mp4", "/home/u/Videos", "clip.mp4"},
        {"/Video", "", "Video"},
        {"/", "", ""},
        {"/home/u/", "/home/u", ""},
        {"clip.mp4", "", ""},
        {"", "", ""},
        {"/a\\b/c\\d.avi", "/a\\b", "c\\d.avi"}, // a backslash is part of a name
        {"/動画/日本語.mp4", "/動画", "日本語.mp4"},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(PathParts::FolderPart(c.path), c.folderPart) << c.path.toStdString();
        EXPECT_EQ(PathParts::FileNamePart(c.path), c.fileNamePart) << c.path.toStdString();
    }
}

TEST(PathParts, DrivePathsSplitAtTheFirstBar) {
    struct Case {
        QString drivePath;
        QString root;
        QString displayName;
    };
    const Case cases[] = {
        {"/media/usb|USB STICK", "/media/usb", "USB STICK"},
        {"/|/", "/", "/"},
        {"/mnt/a|b|c", "/mnt/a", "b|c"},
        {"/mnt/a|", "/mnt/a", ""},
        {"/mnt/a", "/mnt/a", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathParts::DriveRoot(c.drivePath), c.root) << c.drivePath.toStdString();
        EXPECT_EQ(PathParts::DriveDisplayName(c.drivePath), c.displayName)
            << c.drivePath.toStdString();
    }
}

TEST(PathParts, DrivePathRoundTripsADisplayNameWithBars) {
    const QString path = PathParts::DrivePath("/media/x", "a|b");
    EXPECT_EQ(path, "/media/x|a|b");
    EXPECT_EQ(PathParts::DriveRoot(path), "/media/x");
    EXPECT_EQ(PathParts::DriveDisplayName(path), "a|b");
}

} // namespace
