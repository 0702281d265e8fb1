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

bool WaitForSetting(const RavoloProcess::Sandbox& sandbox, const QString& key,
                    const std::function<bool(const QString&)>& accept, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (accept(ReadSetting(sandbox, key)))
            return true;
        QThread::msleep(50);
    }
    return false;
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
    // While the file plays its entry is written to the profile at every start (a crash loses
    // nothing); the position of the stop on SIGTERM registers it.
    ASSERT_TRUE(WaitForSetting(
        sandbox, QStringLiteral("CurrentFolder"),
        [&](const QString& value) { return value == sandbox.Home() + QStringLiteral("/Videos"); },
        20000));
    ravolo.Terminate();
    ASSERT_TRUE(ravolo.WaitForExit(15000));
    EXPECT_TRUE(ReadSetting(sandbox, QStringLiteral("Resume0")).endsWith(clip))
        << ReadSetting(sandbox, QStringLiteral("Resume0")).toStdString();
}
