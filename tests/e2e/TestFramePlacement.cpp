// The main window's placement on a real display with a window manager: a window closed at some
// place and size opens there again, and a window closed in full screen opens in full screen.
#include "support/RavoloDesktop.h"

#include <gtest/gtest.h>

namespace {

const QRect kWholeScreen(0, 0, 1280, 800);

// The ten numbers of "WindowPos"; empty unless there are ten.
QList<int> WindowPosNumbers(const QString& value) {
    QList<int> numbers;
    for (const QString& part : value.split(QLatin1Char(':')))
        numbers << part.toInt();
    return numbers.size() == 10 ? numbers : QList<int>();
}

// Closes the idle program as the window manager does, and waits until it has ended cleanly.
bool CloseByWindowManager(RavoloDesktop& desktop) {
    desktop.Key(QStringLiteral("alt+F4"));
    return desktop.WaitForExit() && desktop.Process().EndedCleanly() &&
           desktop.Process().ExitCode() == 0;
}

} // namespace

TEST(FramePlacement, AWindowOpensWhereAndAsLargeAsItWasClosed) {
    RavoloDesktop desktop;
    ASSERT_TRUE(desktop.Start());
    desktop.Display().Run(QStringLiteral("xdotool"),
                          {QStringLiteral("windowsize"), QString::number(desktop.Frame()),
                           QStringLiteral("800"), QStringLiteral("600")});
    desktop.Display().Run(QStringLiteral("xdotool"),
                          {QStringLiteral("windowmove"), QString::number(desktop.Frame()),
                           QStringLiteral("150"), QStringLiteral("120")});
    QRect placed;
    ASSERT_TRUE(RavoloDesktop::WaitUntil(
        [&] {
            placed = desktop.Geometry(desktop.Frame());
            return placed.size() == QSize(800, 600) && placed.x() >= 150;
        },
        RavoloDesktop::kWaitMs));
    ASSERT_TRUE(CloseByWindowManager(desktop));

    EXPECT_EQ(desktop.ReadSetting(QStringLiteral("FullScreen")), QStringLiteral("0"));
    const QList<int> stored = WindowPosNumbers(desktop.ReadSetting(QStringLiteral("WindowPos")));
    ASSERT_EQ(stored.size(), 10) << desktop.ReadSetting(QStringLiteral("WindowPos")).toStdString();
    EXPECT_EQ(stored[1], 1); // shown normally
    EXPECT_EQ(stored[8] - stored[6], 800);
    EXPECT_EQ(stored[9] - stored[7], 600);

    ASSERT_TRUE(desktop.Start());
    EXPECT_TRUE(desktop.WaitForGeometry(desktop.Frame(), placed))
        << "now at " << desktop.Geometry(desktop.Frame()).x() << ","
        << desktop.Geometry(desktop.Frame()).y();
}

TEST(FramePlacement, AWindowClosedInFullScreenOpensInFullScreenAndReturnsToItsPlace) {
    RavoloDesktop desktop;
    ASSERT_TRUE(desktop.Start());
    const QRect windowed = desktop.Geometry(desktop.Frame());
    desktop.Key(QStringLiteral("ctrl+f"));
    ASSERT_TRUE(desktop.WaitForGeometry(desktop.Frame(), kWholeScreen));
    ASSERT_TRUE(CloseByWindowManager(desktop));
    EXPECT_EQ(desktop.ReadSetting(QStringLiteral("FullScreen")), QStringLiteral("1"));

    ASSERT_TRUE(desktop.Start());
    EXPECT_TRUE(desktop.WaitForGeometry(desktop.Frame(), kWholeScreen));
    // Out of full screen, the window goes back to where it was before full screen.
    desktop.Key(QStringLiteral("ctrl+f"));
    EXPECT_TRUE(desktop.WaitForGeometry(desktop.Frame(), windowed))
        << "now at " << desktop.Geometry(desktop.Frame()).x() << ","
        << desktop.Geometry(desktop.Frame()).y();
}
