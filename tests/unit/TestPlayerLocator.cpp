#include "engine/PlayerLocator.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class PlayerLocatorTest : public testing::Test {
protected:
    QString MakeExecutable(const QString& relative) {
        const QString path = m_Dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString Dir(const QString& relative) {
        QDir().mkpath(m_Dir.filePath(relative));
        return m_Dir.filePath(relative);
    }

    QTemporaryDir m_Dir;
};

TEST_F(PlayerLocatorTest, StoredPathWinsEvenWhenMissing) {
    MakeExecutable("app/MPlayer32/mplayer");
    EXPECT_EQ(PlayerLocator::Locate("/nowhere/mplayer", Dir("app"), {Dir("bin")}),
              "/nowhere/mplayer");
}

TEST_F(PlayerLocatorTest, BesideTheProgramComesFirst) {
    const QString beside = MakeExecutable("app/MPlayer32/mplayer");
    MakeExecutable("bin/mplayer");
    EXPECT_EQ(PlayerLocator::Locate("", Dir("app"), {Dir("bin")}), beside);
}

TEST_F(PlayerLocatorTest, AFolderBesideTheProgramDoesNotCount) {
    Dir("app/MPlayer32/mplayer");
    const QString onPath = MakeExecutable("bin/mplayer");
    EXPECT_EQ(PlayerLocator::Locate("", Dir("app"), {Dir("empty"), Dir("bin")}), onPath);
}

TEST_F(PlayerLocatorTest, NothingFoundGivesEmpty) {
    EXPECT_EQ(PlayerLocator::Locate("", Dir("app"), {Dir("bin")}), "");
}

TEST_F(PlayerLocatorTest, SystemPathIsSearchedByDefault) {
    // The machine's own MPlayer, as the program finds it with nothing stored.
    EXPECT_EQ(PlayerLocator::Locate("", Dir("app")), QStandardPaths::findExecutable("mplayer"));
}

TEST_F(PlayerLocatorTest, OnlyARegularFileCounts) {
    const QString pipe = m_Dir.filePath("pipe.mp4");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_TRUE(IsRegularFile(MakeExecutable("x/mplayer")));
    EXPECT_FALSE(IsRegularFile(Dir("folder")));
    EXPECT_FALSE(IsRegularFile(m_Dir.filePath("missing")));
    EXPECT_FALSE(IsRegularFile(""));
    EXPECT_FALSE(IsRegularFile(pipe)) << "opening it to check it would wait for a writer";
}

TEST(PlayerLocator, DialogStartsInTheFolderOfThePath) {
    EXPECT_EQ(PlayerLocator::DialogFolder("/opt/MPlayer32/mplayer"), "/opt/MPlayer32");
    EXPECT_EQ(PlayerLocator::DialogFolder("/mplayer"), "/");
    EXPECT_EQ(PlayerLocator::DialogFolder(""), "");
    EXPECT_EQ(PlayerLocator::kDialogFileName, "mplayer");
}

} // namespace
