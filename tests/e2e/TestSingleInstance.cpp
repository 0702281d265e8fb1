// The real program started more than once: one instance per machine, handed over or taken over.
#include "support/RavoloProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

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

// fs.protected_regular at the given level while this object lives, as Debian sets it.
class ProtectedRegular {
public:
    explicit ProtectedRegular(const QByteArray& level) {
        QFile file(kPath);
        if (file.open(QIODevice::ReadOnly))
            m_Old = file.readAll().trimmed();
        m_bSet = !m_Old.isEmpty() && Write(level);
    }
    ~ProtectedRegular() {
        if (m_bSet)
            Write(m_Old);
    }
    bool IsSet() const { return m_bSet; }

private:
    static constexpr const char* kPath = "/proc/sys/fs/protected_regular";
    // Each value from the start of a file of its own: a sysctl ignores a write further on.
    static bool Write(const QByteArray& value) {
        QFile file(kPath);
        return file.open(QIODevice::WriteOnly) && file.write(value) == value.size() && file.flush();
    }

    QByteArray m_Old;
    bool m_bSet = false;
};

// One instance per machine for every user: the lock file a first user made neither lets another
// user's start run beside it nor stops that user's start once the first has ended. "nobody"
// starts first; the test's own user (root) second.
TEST(SingleInstanceMachineWide, AnotherUsersLockFileNeverStopsAStart) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to start the program as another user and to set a sysctl";
    const ProtectedRegular protectedRegular("1");
    if (!protectedRegular.IsSet())
        GTEST_SKIP() << "fs.protected_regular cannot be set here";
    RavoloProcess::Sandbox machine;
    const RavoloProcess::Sandbox nobodysWorld(machine, 65534);
    {
        RavoloProcess first(nobodysWorld);
        ASSERT_TRUE(first.Start());
        ASSERT_TRUE(first.WaitUntilPrimary(20000)) << first.Output().constData();
        RavoloProcess second(machine);
        ASSERT_TRUE(second.Start());
        ASSERT_TRUE(second.WaitForExit(10000));
        EXPECT_EQ(second.ExitCode(), 0);
        EXPECT_FALSE(QFile::exists(machine.ChannelSocket()));
        EXPECT_TRUE(first.IsRunning());
        first.Terminate();
        ASSERT_TRUE(first.WaitForExit(10000));
    }
    RavoloProcess next(machine);
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(next.WaitUntilPrimary(20000)) << next.Output().constData();
}
