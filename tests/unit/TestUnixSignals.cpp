#include "platform/UnixSignals.h"
#include "support/Patience.h"

#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_nOwnHandlerHits = 0;
void OwnHandler(int) {
    g_nOwnHandlerHits = g_nOwnHandlerHits + 1;
}

TEST(UnixSignals, EachTerminationSignalArrivesOnTheEventLoop) {
    UnixSignals handler;
    ASSERT_TRUE(handler.IsInstalled());
    QSignalSpy spy(&handler, &UnixSignals::terminationRequested);
    for (int number : {SIGTERM, SIGHUP, SIGINT})
        ASSERT_EQ(::raise(number), 0);
    // Nothing is delivered from inside the handler itself.
    EXPECT_EQ(spy.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() == 3; }, kPatienceMs));
    EXPECT_EQ(spy[0][0].toInt(), SIGTERM);
    EXPECT_EQ(spy[1][0].toInt(), SIGHUP);
    EXPECT_EQ(spy[2][0].toInt(), SIGINT);
}

TEST(UnixSignals, OneInstanceAtATimeAndPreviousHandlersComeBack) {
    struct sigaction own = {}, saved = {};
    own.sa_handler = OwnHandler;
    ASSERT_EQ(::sigaction(SIGHUP, &own, &saved), 0);
    {
        UnixSignals first;
        UnixSignals second;
        EXPECT_TRUE(first.IsInstalled());
        EXPECT_FALSE(second.IsInstalled());
    }
    g_nOwnHandlerHits = 0;
    ::raise(SIGHUP);
    EXPECT_EQ(g_nOwnHandlerHits, 1);
    {
        // Free again for the next instance.
        UnixSignals third;
        EXPECT_TRUE(third.IsInstalled());
    }
    ::sigaction(SIGHUP, &saved, nullptr);
}

TEST(UnixSignals, BrokenPipeFailsTheWriteInsteadOfEndingTheProcess) {
    UnixSignals::IgnoreBrokenPipe();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    errno = 0;
    EXPECT_EQ(::write(fds[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(fds[1]);
}

} // namespace
