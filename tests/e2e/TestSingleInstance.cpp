// The real program started more than once: one instance per machine, handed over or taken over.
#include "support/RavoloProcess.h"

#include <QDeadlineTimer>
#include <gtest/gtest.h>

TEST(SingleInstance, SecondStartEndsAndTheFirstStays) {
    RavoloProcess::Sandbox sandbox;
    RavoloProcess first(sandbox);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilPrimary(20000)) << first.Output().constData();

    RavoloProcess second(sandbox);
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_TRUE(first.IsRunning());
}

TEST(SingleInstance, AfterANormalExitTheNextStartIsPrimary) {
    RavoloProcess::Sandbox sandbox;
    {
        RavoloProcess first(sandbox);
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitUntilPrimary(20000));
        first.Terminate();
        ASSERT_TRUE(first.WaitForExit(10000));
        EXPECT_TRUE(first.EndedCleanly()) << "exit code or signal " << first.ExitCode();
    }
    RavoloProcess next(sandbox);
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(next.WaitUntilPrimary(20000)) << next.Output().constData();
}

TEST(SingleInstance, AKilledInstanceNeverBlocksTheNextStart) {
    RavoloProcess::Sandbox sandbox;
    {
        RavoloProcess first(sandbox);
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitUntilPrimary(20000));
        first.Kill();
    }
    // The lock file and the socket file stay behind; neither may count as a running instance.
    RavoloProcess next(sandbox);
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(next.WaitUntilPrimary(20000)) << next.Output().constData();
}

TEST(SingleInstance, TwoStartsAtTheSameMomentLeaveExactlyOne) {
    RavoloProcess::Sandbox sandbox;
    RavoloProcess a(sandbox);
    RavoloProcess b(sandbox);
    ASSERT_TRUE(a.Start());
    ASSERT_TRUE(b.Start());
    ASSERT_TRUE(a.WaitUntilPrimary(20000) || b.WaitUntilPrimary(20000));
    // The one that lost the lock ends by itself.
    QDeadlineTimer deadline(10000);
    while (a.IsRunning() && b.IsRunning() && !deadline.hasExpired()) {
        a.WaitForExit(100);
        b.WaitForExit(100);
    }
    EXPECT_NE(a.IsRunning(), b.IsRunning());
}
