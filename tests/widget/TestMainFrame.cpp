// The main frame's close guards: playback stops before the window goes, the end of the session,
// termination signals, and the sleep and screen-saver locks; its caption and its bare form.
#include "platform/UnixSignals.h"
#include "support/FakeLogin1.h"
#include "support/FakeScreenSaver.h"
#include "support/MainFrameFixture.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST_F(MainFrameTest, TitleFollowsTheDocumentTitle) {
    CMainFrame& frame = MakeFrame();
    frame.winId();
    const struct {
        const char* title;
        const char* caption;
    } rows[] = {
        {"", "Ravolo"},
        {"clip.avi", "clip.avi - Ravolo"},
        {"映画 01.mkv", "映画 01.mkv - Ravolo"},
        // Qt's modified marker must not eat part of a file name.
        {"a[*]b.mp4", "a[*]b.mp4 - Ravolo"},
        {"[*][*].mp4", "[*][*].mp4 - Ravolo"},
        {"", "Ravolo"},
    };
    for (const auto& row : rows) {
        frame.SetDocumentTitle(QString::fromUtf8(row.title));
        EXPECT_EQ(frame.windowHandle()->title(), QString::fromUtf8(row.caption)) << row.title;
    }
}

TEST_F(MainFrameTest, ABareFrameWithTheViewThatCannotShrinkBelow640x480) {
    CMainFrame& frame = Start();
    EXPECT_TRUE(frame.findChildren<QMenuBar*>().isEmpty());
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(frame.findChildren<QStatusBar*>().isEmpty());
    EXPECT_NE(frame.centralWidget(), nullptr);
    EXPECT_EQ(frame.FrameWindow(), &frame);
    EXPECT_EQ(frame.minimumSize(), QSize(640, 480));
    frame.resize(300, 200);
    EXPECT_EQ(frame.size(), QSize(640, 480));
}

TEST_F(MainFrameTest, CloseOutsidePlaybackClosesAtOnce) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(m_View->stopsForShutdown, 0);
    EXPECT_EQ(StoredWindowPos(), kNormalPos);
}

TEST_F(MainFrameTest, CloseDuringPlaybackStopsFirstAndClosesWhenTheStopCompletes) {
    CMainFrame& frame = Start();
    StartPlaying();
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(m_View->stopsForShutdown, 1);
    EXPECT_EQ(StoredWindowPos(), QString());

    m_View->CompleteStop();
    EXPECT_TRUE(frame.isVisible()); // posted, not yet handled
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.isVisible(); }, kPatienceMs));
    EXPECT_EQ(m_View->stopsForShutdown, 1);
    EXPECT_NE(StoredWindowPos(), QString());
}

TEST_F(MainFrameTest, CloseWhileAStopWaitsClosesWhenItCompletes) {
    CMainFrame& frame = Start();
    m_View->stopWaits = true; // a stop asked just before the close
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(m_View->stopsForShutdown, 1);
    m_View->CompleteStop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame.isVisible(); }));
}

TEST_F(MainFrameTest, SecondCloseWhileTheStopHangsClosesAtOnce) {
    CMainFrame& frame = Start();
    StartPlaying();
    m_View->clearsPlaybackFlag = false; // MPlayer never answers
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(m_View->stopsForShutdown, 1);
}

TEST_F(MainFrameTest, EndOfSessionDuringPlaybackIsRefusedOnce) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    StartPlaying();
    EXPECT_FALSE(frame.QueryEndSession());
    EXPECT_EQ(m_View->stopsForShutdown, 1);
    EXPECT_EQ(m_View->viewStateSaves, 0);
    EXPECT_TRUE(frame.isVisible());

    EXPECT_TRUE(frame.QueryEndSession());
    EXPECT_EQ(m_View->stopsForShutdown, 1);
    EXPECT_EQ(m_View->viewStateSaves, 1);
    EXPECT_EQ(StoredWindowPos(), kNormalPos);
}

TEST_F(MainFrameTest, EndOfSessionOutsidePlaybackSavesEverything) {
    SetProfile(kNormalProfile);
    CMainFrame& frame = Start();
    frame.ToggleFullScreen();
    EXPECT_TRUE(frame.QueryEndSession());
    EXPECT_EQ(m_View->stopsForShutdown, 0);
    EXPECT_EQ(m_View->viewStateSaves, 1);
    EXPECT_TRUE(StoredFullScreen());
    EXPECT_EQ(StoredWindowPos(), kNormalPos);
}

class MainFrameSignalTest : public MainFrameTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Signals.IsInstalled());
        CMainFrame& frame = Start();
        QObject::connect(&m_Signals, &UnixSignals::terminationRequested, &frame,
                         &CMainFrame::RequestTermination);
    }

    UnixSignals m_Signals;
};

TEST_F(MainFrameSignalTest, TerminationDuringPlaybackStopsThenClosesWhenTheViewPostsTheClose) {
    StartPlaying();
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_View->stopsForShutdown == 1; }, kPatienceMs));
    EXPECT_TRUE(m_Frame->isVisible());
    m_View->CompleteStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_Frame->isVisible(); }, kPatienceMs));
    EXPECT_NE(StoredWindowPos(), QString());
}

TEST_F(MainFrameSignalTest, TerminationGivesUpAStopThatDoesNotComplete) {
    m_Frame->SetTerminationGraceMs(50);
    StartPlaying();
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_View->stopsForShutdown == 1; }, kPatienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_Frame->isVisible(); }, kPatienceMs));
    EXPECT_EQ(m_View->viewStateSaves, 1);
    EXPECT_NE(StoredWindowPos(), QString());
}

TEST_F(MainFrameSignalTest, SecondTerminationClosesAtOnce) {
    StartPlaying();
    m_View->clearsPlaybackFlag = false;
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_View->stopsForShutdown == 1; }, kPatienceMs));
    ::raise(SIGINT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_Frame->isVisible(); }, kPatienceMs));
    EXPECT_EQ(m_View->stopsForShutdown, 1);
}

TEST_F(MainFrameSignalTest, HangUpOutsidePlaybackSavesAndCloses) {
    ::raise(SIGHUP);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_Frame->isVisible(); }, kPatienceMs));
    EXPECT_EQ(m_View->stopsForShutdown, 0);
    EXPECT_EQ(m_View->viewStateSaves, 1);
    EXPECT_NE(StoredWindowPos(), QString());
}

TEST_F(MainFrameSignalTest, TerminationClosesAnOpenModalDialogToo) {
    QDialog dialog(&*m_Frame);
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    ::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_Frame->isVisible(); }, kPatienceMs));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MainFrameTest, KeepAwakeFollowsPlaybackAndTheFramesLife) {
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    FakeScreenSaver screenSaver;
    FakeLogin1 login1;
    ASSERT_TRUE(screenSaver.Register(bus.Connect(QStringLiteral("screensaver-service"))));
    ASSERT_TRUE(login1.Register(bus.Connect(QStringLiteral("login1-service"))));

    CMainFrame& frame = MakeFrame(bus.Connect(QStringLiteral("frame-session")),
                                  bus.Connect(QStringLiteral("frame-system")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return login1.IsLockHeld(); }, kPatienceMs));
    EXPECT_EQ(login1.LastArguments().value(0), QStringLiteral("sleep"));
    frame.show();
    EXPECT_EQ(screenSaver.ActiveCount(), 0);

    StartPlaying();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver.ActiveCount() == 1; }, kPatienceMs));
    frame.SetPlaybackActive(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver.ActiveCount() == 0; }, kPatienceMs));
    StartPlaying();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver.ActiveCount() == 1; }, kPatienceMs));
    EXPECT_EQ(screenSaver.InhibitCalls(), 2);

    // A close that goes through during playback (the second request) gives everything back.
    m_View->clearsPlaybackFlag = false;
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.close());
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenSaver.ActiveCount() == 0; }, kPatienceMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !login1.IsLockHeld(); }, kPatienceMs));
    Finish();
}

} // namespace
