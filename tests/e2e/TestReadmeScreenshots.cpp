// The three screens as the README shows them, taken from the real program: the resume screen
// with two entries, the folder screen with a few files, and a clip playing. With
// RAVOLO_SCREENSHOT_DIR set (scripts/screenshots does it) the pictures are kept there.
#include "support/RavoloDesktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const char* const kOutputVariable = "RAVOLO_SCREENSHOT_DIR";

// The pictures show an ordinary home folder: for the time of the test /home/yuki is a link to
// the sandbox, where the machine lets the test make it and no such folder exists.
class ShownHome {
public:
    explicit ShownHome(const QString& sandbox)
        : m_strSandbox(sandbox),
          m_bLinked(!QFileInfo(kHome).exists() && !QFileInfo(kHome).isSymLink() &&
                    QFile::link(sandbox, kHome)) {}
    ~ShownHome() {
        if (m_bLinked)
            QFile::remove(kHome);
    }
    bool IsLinked() const { return m_bLinked; }
    // The media folder as the program is told it.
    QString Videos() const {
        return (m_bLinked ? kHome : m_strSandbox) + QStringLiteral("/Videos");
    }

private:
    static inline const QString kHome = QStringLiteral("/home/yuki");
    QString m_strSandbox;
    bool m_bLinked;
};

// Waits until the frame shows a picture unlike the previous one that passes the check.
QImage WaitForNewScreen(const RavoloDesktop& desktop, const QImage& previous,
                        const std::function<bool(const QImage&)>& check) {
    QImage shown;
    RavoloDesktop::WaitUntil(
        [&] {
            shown = desktop.Grab(desktop.Frame());
            return shown != previous && check(shown);
        },
        RavoloDesktop::kWaitMs);
    return shown;
}

bool IsListScreen(const QImage& view) {
    return RavoloDesktop::CountBesideColourKey(view) > view.width() * view.height() / 2;
}

} // namespace

TEST(ReadmeScreenshots, TheThreeScreens) {
    RavoloDesktop desktop;
    const QString outputDir = qEnvironmentVariableIsSet(kOutputVariable)
                                  ? qEnvironmentVariable(kOutputVariable)
                                  : desktop.Root();
    ASSERT_TRUE(QDir().mkpath(outputDir));
    const ShownHome home(desktop.Root());
    if (qEnvironmentVariableIsSet(kOutputVariable)) {
        ASSERT_TRUE(home.IsLinked()) << "the pictures need /home/yuki: run as root, without one";
    }
    QDir().mkpath(desktop.MediaFolder() + QStringLiteral("/Series"));
    for (const char* name :
         {"Concert 2023.avi", "Lecture 1.avi", "Lecture 2.avi", "Lecture 10.avi", "Podcast.wav"})
        ASSERT_FALSE(desktop.MakeClip(QString::fromUtf8(name), 1, !QByteArray(name).endsWith("wav"))
                         .isEmpty());
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("Nature walk.avi"), 20).isEmpty());
    const QString folder = home.Videos() + QLatin1Char('/');
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), home.Videos());
    desktop.WriteSetting(QStringLiteral("Resume0"),
                         RavoloDesktop::ResumeValue(folder + QStringLiteral("Lecture 2.avi"), 754));
    desktop.WriteSetting(
        QStringLiteral("Resume1"),
        RavoloDesktop::ResumeValue(folder + QStringLiteral("Concert 2023.avi"), 3723));
    ASSERT_TRUE(desktop.Start());

    // The resume screen opens first, on the newest entry.
    const QImage resume = WaitForNewScreen(desktop, QImage(), IsListScreen);
    ASSERT_TRUE(IsListScreen(resume));
    // Tab: the folder with that entry's file selected.
    desktop.Key(QStringLiteral("Tab"));
    const QImage folderScreen = WaitForNewScreen(desktop, resume, IsListScreen);
    ASSERT_TRUE(IsListScreen(folderScreen));
    // Two rows down, past "Lecture 10", is the clip that plays.
    desktop.Key(QStringLiteral("Down Down Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("Nature walk.avi - Ravolo")));
    ASSERT_TRUE(desktop.WaitForVideo());
    const QImage playback = desktop.Grab(desktop.Frame());

    for (const auto& [image, name] :
         {std::pair{&resume, "resume-screen.png"}, std::pair{&folderScreen, "folder-screen.png"},
          std::pair{&playback, "playback-screen.png"}}) {
        EXPECT_EQ(image->size(), QSize(640, 480));
        EXPECT_TRUE(image->save(outputDir + QLatin1Char('/') + QLatin1String(name)));
    }
}
