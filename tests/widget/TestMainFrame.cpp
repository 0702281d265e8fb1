#include "app/CMainFrame.h"
#include "platform/UnixSignals.h"
#include "settings/SettingsStore.h"
#include "support/FakeLogin1.h"
#include "support/FakeScreenSaver.h"
#include "support/Patience.h"
#include "support/PrivateBus.h"
#include "support/QtPrinters.h"
#include "support/TempProfile.h"
#include "view/IFrameView.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>
#include <optional>

namespace {

// A view that stops like the real one: the playing flag drops at once, and the close is posted
// when MPlayer's position answer comes (CompleteStop).
class FakeView : public IFrameView {
public:
    explicit FakeView(CMainFrame& frame) : m_Frame(frame) {}
    bool HasPlaybackToFinish() const override { return playing || stopWaits; }
    void StopForShutdown() override {
        ++stopsForShutdown;
        playing = false;
        if (clearsPlaybackFlag)
            m_Frame.SetPlaybackActive(false);
    }
    void SaveViewState() override { ++viewStateSaves; }
    void CompleteStop() { m_Frame.PostClose(); }

    bool playing = false;
    bool stopWaits = false; // a stop the user asked for still waits for the position
    bool clearsPlaybackFlag = true;
    int stopsForShutdown = 0;
    int viewStateSaves = 0;

private:
    CMainFrame& m_Frame;
};

class MainFrameTest : public testing::Test {
protected:
    void SetProfile(const QByteArray& body) { m_Profile.SetBytes("[Settings]\n" + body); }

    // A frame as the program makes it, over the profile; buses absent unless given.
    CMainFrame& MakeFrame(const QDBusConnection& sessionBus = PrivateBus::Absent(),
                          const QDBusConnection& systemBus = PrivateBus::Absent()) {
        m_Store = std::make_unique<SettingsStore>(m_Profile.Path());
        m_Frame.emplace(*m_Store, sessionBus, systemBus);
        m_View.emplace(*m_Frame);
        auto* view = new QWidget;
        view->setAttribute(Qt::WA_NativeWindow);
        m_Frame->SetView(view, &*m_View);
        return *m_Frame;
    }

    // Start-up as the application does it.
    CMainFrame& Start() {
        CMainFrame& frame = MakeFrame();
        if (!frame.RestoreWindowPlacement())
            frame.show();
        return frame;
    }

    void Finish() {
        m_View.reset();
        m_Frame.reset();
        m_Store.reset();
    }

    // Closes, then starts again on what was stored.
    CMainFrame& Restart() {
        EXPECT_TRUE(m_Frame->close());
        Finish();
        return Start();
    }

    void StartPlaying() {
        m_View->playing = true;
        m_Frame->SetPlaybackActive(true);
    }

    // What the next start reads from the profile file.
    QString StoredWindowPos() { return m_Profile.Reloaded()->ReadString(u"WindowPos"); }
    bool StoredFullScreen() { return m_Profile.Reloaded()->ReadFullScreen(); }

    TempProfile m_Profile;
    std::unique_ptr<SettingsStore> m_Store;
    std::optional<CMainFrame> m_Frame;
    std::optional<FakeView> m_View;
};

const QString kNormalPos = QStringLiteral("0:1:-1:-1:-1:-1:200:150:1000:750");
const QByteArray kNormalProfile = "WindowPos=0:1:-1:-1:-1:-1:200:150:1000:750\n";
const QRect kNormalRect(200, 150, 800, 600);

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
