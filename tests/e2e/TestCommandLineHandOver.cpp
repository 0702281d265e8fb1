// The command line of the real program: answers that need no instance, and files and folders
// handed to the running instance.
#include "support/RavoloProcess.h"
#include "support/TestMedia.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString ReadSetting(const RavoloProcess::Sandbox& sandbox, const QString& key) {
    QSettings profile(sandbox.ProfilePath(), QSettings::IniFormat);
    return profile.value(QStringLiteral("Settings/") + key).toString();
}

} // namespace

TEST(CommandLine, VersionAndHelpAnswerWithoutStartingOrTouchingTheProfile) {
    RavoloProcess::Sandbox sandbox;
    for (const char* option : {"--version", "--help"}) {
        RavoloProcess process(sandbox);
        ASSERT_TRUE(process.Start({QString::fromLatin1(option)}));
        ASSERT_TRUE(process.WaitForExit(5000));
        EXPECT_EQ(process.ExitCode(), 0);
        const QByteArray output = process.Output();
        if (QByteArray(option) == "--version")
            EXPECT_EQ(output, QByteArray("Ravolo 1.5.0.0\n"));
        else
            EXPECT_TRUE(output.contains("ravolo")) << output.constData();
    }
    EXPECT_FALSE(QFile::exists(sandbox.ProfilePath()));
}

TEST(CommandLine, AFolderHandedToTheRunningInstanceOpensOnTheFolderScreen) {
    RavoloProcess::Sandbox sandbox;
    sandbox.WriteMPlayerConfig(QStringLiteral("vo=null\nao=null\n"));
    const QString folder = sandbox.Home() + QStringLiteral("/Videos");
    QDir().mkpath(folder);
    RavoloProcess first(sandbox);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilPrimary(20000));
    RavoloProcess second(sandbox);
    ASSERT_TRUE(second.Start({folder}));
    ASSERT_TRUE(second.WaitForExit(10000));
    first.Terminate();
    ASSERT_TRUE(first.WaitForExit(10000));
    EXPECT_EQ(ReadSetting(sandbox, QStringLiteral("CurrentFolder")), folder);
}

TEST(CommandLine, AFileGivenAtStartIsPlayedOnceMPlayerIsReady) {
    RavoloProcess::Sandbox sandbox;
    sandbox.WriteMPlayerConfig(QStringLiteral("vo=null\nao=null\n"));
    const QString clip = sandbox.Home() + QStringLiteral("/Videos/given clip.avi");
    QDir().mkpath(sandbox.Home() + QStringLiteral("/Videos"));
    ASSERT_TRUE(TestMedia::MakeClip(clip, 20));
    RavoloProcess ravolo(sandbox);
    ASSERT_TRUE(ravolo.Start({clip}));
    ASSERT_TRUE(ravolo.WaitUntilPrimary(20000));
    // The stop on SIGTERM registers the position.
    ASSERT_TRUE(ravolo.WaitUntilChildOpens(clip, 20000));
    ravolo.Terminate();
    ASSERT_TRUE(ravolo.WaitForExit(15000));
    EXPECT_EQ(ReadSetting(sandbox, QStringLiteral("CurrentFolder")),
              sandbox.Home() + QStringLiteral("/Videos"));
    EXPECT_TRUE(ReadSetting(sandbox, QStringLiteral("Resume0")).endsWith(clip))
        << ReadSetting(sandbox, QStringLiteral("Resume0")).toStdString();
}
