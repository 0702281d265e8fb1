// The three screens as the README shows them, taken from the real program: the resume screen
// with two entries, the folder screen with a few files, and a clip playing. With
// RAVOLO_SCREENSHOT_DIR set (scripts/screenshots does it) the pictures are kept there.
#include "support/RavoloDesktop.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const char* const kOutputVariable = "RAVOLO_SCREENSHOT_DIR";

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
    QDir().mkpath(desktop.MediaFolder() + QStringLiteral("/Series"));
    for (const char* name :
         {"Concert 2023.avi", "Lecture 1.avi", "Lecture 2.avi", "Lecture 10.avi", "Podcast.wav"})
        ASSERT_FALSE(desktop.MakeClip(QString::fromUtf8(name), 1, !QByteArray(name).endsWith("wav"))
                         .isEmpty());
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("Nature walk.avi"), 20).isEmpty());
    const QString folder = desktop.MediaFolder() + QLatin1Char('/');
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
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
