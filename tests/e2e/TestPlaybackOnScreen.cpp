// The real program plays real files into its own window: MPlayer's video pixels inside the view,
// the logo on the colour key for a file without a picture.
#include "support/RavoloDesktop.h"

#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The view's edges: nothing but the colour key may show there while a small clip plays.
int CountAtEdges(const QImage& view, int band) {
    const int w = view.width();
    const int h = view.height();
    return RavoloDesktop::CountBesideColourKey(view, QRect(0, 0, w, band)) +
           RavoloDesktop::CountBesideColourKey(view, QRect(0, h - band, w, band)) +
           RavoloDesktop::CountBesideColourKey(view, QRect(0, 0, band, h)) +
           RavoloDesktop::CountBesideColourKey(view, QRect(w - band, 0, band, h));
}

QRect CentreBox(const QImage& view, int side) {
    return QRect(view.width() / 2 - side / 2, view.height() / 2 - side / 2, side, side);
}

} // namespace

TEST(PlaybackOnScreen, AClipFromTheFolderScreenShowsItsVideoInsideTheView) {
    RavoloDesktop desktop;
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("clip.avi"), 8).isEmpty());
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
    ASSERT_TRUE(desktop.Start());

    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")));
    // The test picture is 160 x 120 and hardly any of it is the colour key; the rest of the view
    // is the colour key, so MPlayer draws into the view and the view paints nothing over it.
    EXPECT_TRUE(desktop.WaitForVideo());
    EXPECT_EQ(CountAtEdges(desktop.Grab(desktop.Frame()), 40), 0);
}

TEST(PlaybackOnScreen, AnAudioFileShowsTheLogoOnTheColourKey) {
    RavoloDesktop desktop;
    ASSERT_FALSE(desktop.MakeClip(QStringLiteral("tone.wav"), 8, false).isEmpty());
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
    ASSERT_TRUE(desktop.Start());

    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("tone.wav - Ravolo")));
    EXPECT_TRUE(desktop.WaitForImage([](const QImage& view) {
        return RavoloDesktop::CountBesideColourKey(view, CentreBox(view, 100)) > 100 * 100 / 4 &&
               CountAtEdges(view, 40) == 0;
    }));
}

// MPlayer gives up on a damaged file and then answers nothing while idle: a stop given then
// still ends, and the list comes back.
TEST(PlaybackOnScreen, EscASecondAfterADamagedFileBringsTheListBack) {
    RavoloDesktop desktop;
    QFile damaged(desktop.MediaFolder() + QStringLiteral("/damaged.avi"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator(14).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    ASSERT_EQ(damaged.write(noise), noise.size());
    damaged.close();
    desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
    ASSERT_TRUE(desktop.Start());

    desktop.Key(QStringLiteral("Return"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("damaged.avi - Ravolo")));
    // The user's second, not a synchronisation: by then MPlayer has given up on the file.
    QThread::msleep(1000);
    desktop.Key(QStringLiteral("Escape"));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("Ravolo")));
    EXPECT_TRUE(desktop.WaitForListScreen());
}
