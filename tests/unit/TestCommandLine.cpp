#include "platform/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class CommandLineTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Dir.isValid());
        ASSERT_TRUE(QDir(m_Dir.path()).mkpath("films/old"));
        for (const char* name : {"a.mp4", "films/b c.avi", "-dash.mp3", "films/日本語.wav"}) {
            QFile file(m_Dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    CommandLine Parse(const QStringList& arguments) const {
        return CommandLine::Parse(QStringList{"ravolo"} + arguments, m_Dir.path());
    }

    QString Abs(const QString& name) const { return QDir::cleanPath(m_Dir.filePath(name)); }

    QTemporaryDir m_Dir;
};

TEST_F(CommandLineTest, OptionsChooseTheActionAndTheFirstOptionWins) {
    struct Row {
        QStringList arguments;
        CommandLine::Action action;
    };
    const Row rows[] = {
        {{}, CommandLine::Run},
        {{"--version"}, CommandLine::PrintVersion},
        {{"--help"}, CommandLine::PrintHelp},
        {{"-h"}, CommandLine::PrintHelp},
        {{"--version", "--help"}, CommandLine::PrintVersion},
        {{"--help", "--version"}, CommandLine::PrintHelp},
        {{"a.mp4", "--version"}, CommandLine::PrintVersion},
        {{"--fullscreen", "-v", "--versions", "-help"}, CommandLine::Run},
        {{"--", "--version"}, CommandLine::Run},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CommandLine result = Parse(row.arguments);
        EXPECT_EQ(result.action, row.action);
        EXPECT_EQ(result.text.isEmpty(), row.action == CommandLine::Run);
    }
}

TEST_F(CommandLineTest, VersionAndHelpTexts) {
    EXPECT_EQ(Parse({"--version"}).text, "Ravolo 1.5.0.0\n");
    const QString help = Parse({"--help"}).text;
    for (const char* part : {"Usage: ravolo", "--help", "--version", "使い方: ravolo"})
        EXPECT_TRUE(help.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(help.endsWith('\n'));
}

TEST_F(CommandLineTest, ExistingFilesAndFoldersBecomeAbsoluteInTheirOrder) {
    struct Row {
        QStringList arguments;
        QStringList expected; // relative to the temporary folder
    };
    const Row rows[] = {
        {{"a.mp4"}, {"a.mp4"}},
        {{"films", "a.mp4"}, {"films", "a.mp4"}},
        {{"./films/old/../b c.avi"}, {"films/b c.avi"}},
        {{"films/日本語.wav"}, {"films/日本語.wav"}},
        {{"missing.mp4", "films/missing", "a.mp4"}, {"a.mp4"}},
        {{"", "a.mp4"}, {"a.mp4"}},
        {{"--fullscreen", "a.mp4"}, {"a.mp4"}},
        // A name starting with a dash is a file only after the end of the options.
        {{"-dash.mp3"}, {}},
        {{"--", "-dash.mp3", "--"}, {"-dash.mp3"}},
        {{"films/"}, {"films"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CommandLine result = Parse(row.arguments);
        QStringList expected;
        for (const QString& name : row.expected)
            expected << Abs(name);
        EXPECT_EQ(result.paths, expected);
        EXPECT_EQ(result.action, CommandLine::Run);
    }
}

TEST_F(CommandLineTest, AbsolutePathsAndFileUrlsAreTakenAsTheyAre) {
    const QString url = QUrl::fromLocalFile(Abs("films/b c.avi")).toString(QUrl::FullyEncoded);
    const CommandLine result =
        Parse({Abs("a.mp4"), url, "http://example.com/a.mp4", "file:///no/such/file"});
    EXPECT_EQ(result.paths, (QStringList{Abs("a.mp4"), Abs("films/b c.avi")}));
}

TEST_F(CommandLineTest, QtsPlatformOptionNamesThePlatformAndNoPath) {
    ASSERT_TRUE(QDir(m_Dir.path()).mkpath("wayland"));
    struct Row {
        QStringList arguments;
        QString platform;
        QStringList paths; // relative to the temporary folder
    };
    const Row rows[] = {
        {{"a.mp4"}, "", {"a.mp4"}},
        {{"-platform", "wayland", "a.mp4"}, "wayland", {"a.mp4"}},
        {{"--platform", "wayland"}, "wayland", {}},
        {{"a.mp4", "-platform"}, "", {"a.mp4"}},
        {{"--", "-platform", "wayland"}, "", {"wayland"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CommandLine result = Parse(row.arguments);
        EXPECT_EQ(result.platform, row.platform);
        QStringList expected;
        for (const QString& name : row.paths)
            expected << Abs(name);
        EXPECT_EQ(result.paths, expected);
    }
}

TEST_F(CommandLineTest, TheProgramItselfIsNeverAPath) {
    const CommandLine result = CommandLine::Parse({Abs("a.mp4")}, m_Dir.path());
    EXPECT_TRUE(result.paths.isEmpty());
    EXPECT_TRUE(CommandLine::Parse({}, m_Dir.path()).paths.isEmpty());
}

} // namespace
