#include "view/FolderNavigation.h"

#include <gtest/gtest.h>

namespace {

const QStringList kRoots = {"/home/u", "/", "/media/usb", "/media/usb/inner", "/mnt/share/"};

struct MoveCase {
    QString current;
    std::optional<FolderMove> expected;
};

void ExpectMoves(const MoveCase* begin, const MoveCase* end,
                 std::optional<FolderMove> (*move)(const QString&, const QStringList&)) {
    for (const MoveCase* c = begin; c != end; ++c) {
        const std::optional<FolderMove> actual = move(c->current, kRoots);
        ASSERT_EQ(actual.has_value(), c->expected.has_value()) << c->current.toStdString();
        if (actual) {
            EXPECT_EQ(actual->newFolder, c->expected->newFolder) << c->current.toStdString();
            EXPECT_EQ(actual->selectName, c->expected->selectName) << c->current.toStdString();
        }
    }
}

TEST(FolderNavigation, GoUpFolder) {
    const MoveCase cases[] = {
        {"", std::nullopt},
        {"/home/u/Videos/2015", FolderMove{"/home/u/Videos", "2015"}},
        {"/home/u/Videos", FolderMove{"/home/u", "Videos"}},
        {"/home/u", FolderMove{"", "/home/u"}}, // home is a listed root
        {"/home/u/", FolderMove{"", "/home/u"}},
        {"/home", FolderMove{"/", "home"}},
        {"/Video", FolderMove{"/", "Video"}},
        {"/", FolderMove{"", "/"}},
        {"/media/usb", FolderMove{"", "/media/usb"}},
        {"/media/usb/films", FolderMove{"/media/usb", "films"}},
        {"/media/usb/inner", FolderMove{"", "/media/usb/inner"}}, // a mount inside a mount
        {"/media/usbstick", FolderMove{"/media", "usbstick"}},    // not a listed root
        {"/mnt/share", FolderMove{"", "/mnt/share/"}},            // the key as listed
        {"/a/b|c/d e", FolderMove{"/a/b|c", "d e"}},
        {"relative", FolderMove{"", "relative"}}, // a stale value: back to the drives
    };
    ExpectMoves(std::begin(cases), std::end(cases), &FolderNavigation::GoUpFolder);
}

TEST(FolderNavigation, GoUpFromRootWithoutListedDrives) {
    EXPECT_EQ(FolderNavigation::GoUpFolder("/", {}), (FolderMove{"", "/"}));
    EXPECT_EQ(FolderNavigation::GoUpFolder("/home/u", {}), (FolderMove{"/home", "u"}));
}

TEST(FolderNavigation, GoTopFolderSelectsTheLongestRootHoldingTheFolder) {
    const MoveCase cases[] = {
        {"", std::nullopt},
        {"relative/path", std::nullopt},
        {"/", FolderMove{"", "/"}},
        {"/home/u", FolderMove{"", "/home/u"}},
        {"/home/u/Videos/2015", FolderMove{"", "/home/u"}},
        {"/home/user2/x", FolderMove{"", "/"}}, // "/home/u" is no folder above it
        {"/home", FolderMove{"", "/"}},
        {"/media/usb/films/a", FolderMove{"", "/media/usb"}},
        {"/media/usb/inner/x", FolderMove{"", "/media/usb/inner"}},
        {"/media/usbstick/x", FolderMove{"", "/"}},
        {"/mnt/share/x/", FolderMove{"", "/mnt/share/"}},
        {"/Video", FolderMove{"", "/"}},
    };
    ExpectMoves(std::begin(cases), std::end(cases), &FolderNavigation::GoTopFolder);
}

} // namespace
