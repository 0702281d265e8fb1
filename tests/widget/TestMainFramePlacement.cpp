// The main frame's placement: stored as the window was, brought back on the next start, from
// full screen, maximised, on a screen that is gone.
#include "support/MainFrameFixture.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST_F(MainFrameTest, WindowedStartWithoutPlacementIsShownByTheCaller) {
    CMainFrame& frame = MakeFrame();
    EXPECT_FALSE(frame.RestoreWindowPlacement());
    EXPECT_FALSE(frame.isVisible());
    frame.show();
    frame.setGeometry(kNormalRect);
    ASSERT_TRUE(frame.close());
    EXPECT_FALSE(StoredFullScreen());
    EXPECT_EQ(StoredWindowPos(), kNormalPos);
}

TEST_F(MainFrameTest, MalformedPlacementIsIgnored) {
    SetProfile("WindowPos=0:1:-1:-1:-1:-1:200:150:1000\n");
    CMainFrame& frame = MakeFrame();
    EXPECT_FALSE(frame.RestoreWindowPlacement());
}

TEST_F(MainFrameTest, PlacementRoundTrips) {
    const struct {
        const char* stored;
        Qt::WindowStates shown;
        void (*userAction)(CMainFrame&);
        const char* storedAtClose;
    } rows[] = {
        {"0:1:-1:-1:-1:-1:200:150:1000:750", Qt::WindowNoState, nullptr,
         "0:1:-1:-1:-1:-1:200:150:1000:750"},
        {"0:3:-1:-1:-1:-1:200:150:1000:750", Qt::WindowMaximized, nullptr,
         "2:3:-1:-1:-1:-1:200:150:1000:750"},
        {"2:3:-1:-1:-1:-1:200:150:1000:750", Qt::WindowMaximized, nullptr,
         "2:3:-1:-1:-1:-1:200:150:1000:750"},
        {"0:1:-1:-1:-1:-1:200:150:1000:750", Qt::WindowNoState,
         [](CMainFrame& f) { f.showMinimized(); }, "0:9:-1:-1:-1:-1:200:150:1000:750"},
        {"2:3:-1:-1:-1:-1:200:150:1000:750", Qt::WindowMaximized,
         [](CMainFrame& f) { f.showMinimized(); }, "2:3:-1:-1:-1:-1:200:150:1000:750"},
        {"0:9:-1:-1:-1:-1:200:150:1000:750", Qt::WindowNoState, nullptr,
         "0:1:-1:-1:-1:-1:200:150:1000:750"},
        {"0:1:-1:-1:-1:-1:200:150:1000:750", Qt::WindowNoState,
         [](CMainFrame& f) { f.showMaximized(); }, "2:3:-1:-1:-1:-1:200:150:1000:750"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        SetProfile(QByteArray("WindowPos=") + row.stored + "\n");
        CMainFrame& frame = Start();
        EXPECT_TRUE(frame.isVisible());
        EXPECT_EQ(frame.windowState(), row.shown);
        EXPECT_EQ(frame.normalGeometry(), kNormalRect);
        if (row.userAction)
            row.userAction(frame);
        ASSERT_TRUE(frame.close());
        EXPECT_FALSE(StoredFullScreen());
        EXPECT_EQ(StoredWindowPos(), QString::fromLatin1(row.storedAtClose));
        Finish();
    }
}

TEST_F(MainFrameTest, MovedWindowIsStoredWhereItIs) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    frame.setGeometry(QRect(10, 20, 700, 500));
    Restart();
    EXPECT_EQ(StoredWindowPos(), QStringLiteral("0:1:-1:-1:-1:-1:10:20:710:520"));
    EXPECT_EQ(m_Frame->geometry(), QRect(10, 20, 700, 500));
}

TEST_F(MainFrameTest, FullScreenCloseKeepsTheWindowedPlacementForTheNextStart) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    frame.ToggleFullScreen();
    EXPECT_TRUE(frame.IsFullScreen());
    EXPECT_TRUE(frame.windowState() & Qt::WindowFullScreen);

    CMainFrame& next = Restart();
    EXPECT_TRUE(StoredFullScreen());
    EXPECT_EQ(StoredWindowPos(), kNormalPos);
    EXPECT_TRUE(next.IsFullScreen());
    EXPECT_TRUE(next.windowState() & Qt::WindowFullScreen);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return next.geometry() == next.screen()->geometry(); }, kPatienceMs));

    next.ToggleFullScreen();
    EXPECT_FALSE(next.IsFullScreen());
    EXPECT_EQ(next.windowState(), Qt::WindowNoState);
    EXPECT_EQ(next.geometry(), kNormalRect);
}

TEST_F(MainFrameTest, MaximisedWindowComesBackMaximisedFromFullScreen) {
    SetProfile("WindowPos=0:3:-1:-1:-1:-1:200:150:1000:750\n");
    CMainFrame& frame = Start();
    frame.ToggleFullScreen();
    frame.ToggleFullScreen();
    EXPECT_EQ(frame.windowState(), Qt::WindowMaximized);
    frame.showNormal();
    EXPECT_EQ(frame.geometry(), kNormalRect);
}

TEST_F(MainFrameTest, FullScreenStartWithoutPlacementFallsBackWhenLeavingIt) {
    SetProfile("FullScreen=1\n");
    CMainFrame& frame = MakeFrame();
    EXPECT_TRUE(frame.RestoreWindowPlacement());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.windowState() & Qt::WindowFullScreen);

    frame.ToggleFullScreen();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.windowState(), Qt::WindowNoState);
    EXPECT_EQ(frame.geometry(), QRect(100, 80, 640, 480));
    ASSERT_TRUE(frame.close());
    EXPECT_FALSE(StoredFullScreen());
    EXPECT_EQ(StoredWindowPos(), QStringLiteral("0:1:-1:-1:-1:-1:100:80:740:560"));
}

TEST_F(MainFrameTest, FullScreenCloseWithoutPlacementWritesNone) {
    SetProfile("FullScreen=1\n");
    CMainFrame& frame = Start();
    ASSERT_TRUE(frame.close());
    EXPECT_TRUE(StoredFullScreen());
    EXPECT_EQ(StoredWindowPos(), QString());
}

TEST_F(MainFrameTest, PlacementOnAScreenThatIsGoneComesBackOnThePrimaryScreen) {
    SetProfile("WindowPos=0:1:-1:-1:-1:-1:9000:9000:9800:9600\n");
    CMainFrame& frame = Start();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().intersects(frame.geometry()));
    EXPECT_EQ(frame.size(), QSize(800, 600));
}

TEST_F(MainFrameTest, TheViewKeepsItsNativeWindowAcrossFullScreenSwitches) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    const WId before = frame.centralWidget()->winId();
    frame.ToggleFullScreen();
    frame.ToggleFullScreen();
    EXPECT_EQ(frame.centralWidget()->winId(), before);
}

} // namespace
