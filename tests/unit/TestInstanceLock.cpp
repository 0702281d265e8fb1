#include "platform/InstanceLock.h"
#include "support/ScopedEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Result = InstanceLock::Result;

class InstanceLockTest : public testing::Test {
protected:
    void SetUp() override { m_Environment.Set("TMPDIR", QFile::encodeName(m_Dir.path())); }
    QByteArray LockPath() const {
        return QFile::encodeName(InstanceLock(QStringLiteral("Test.Lock")).FilePath());
    }

    QTemporaryDir m_Dir;
    ScopedEnvironment m_Environment;
};

TEST_F(InstanceLockTest, OnlyAFreeRegularFileGivesTheLockAndNothingHangs) {
    const struct {
        const char* what;
        std::function<int(const QByteArray&)> make;
        Result expected;
    } cases[] = {
        {"nothing", [](const QByteArray&) { return 0; }, Result::Primary},
        {"a file", [](const QByteArray& p) { return close(creat(p.constData(), 0600)); },
         Result::Primary},
        {"a folder", [](const QByteArray& p) { return mkdir(p.constData(), 0700); },
         Result::Failed},
        {"a pipe", [](const QByteArray& p) { return mkfifo(p.constData(), 0600); }, Result::Failed},
        {"a link", [](const QByteArray& p) { return symlink("/etc/passwd", p.constData()); },
         Result::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray path = LockPath();
        ASSERT_EQ(c.make(path), 0);
        InstanceLock lock(QStringLiteral("Test.Lock"));
        EXPECT_EQ(lock.Acquire(), c.expected);
        lock.Release();
        ASSERT_EQ(std::remove(path.constData()), 0);
    }
}

// Another user's start must be able to open it, whatever umask the first one had.
TEST_F(InstanceLockTest, TheFileIsReadableByEveryUser) {
    const mode_t old = umask(077);
    InstanceLock lock(QStringLiteral("Test.Lock"));
    const Result result = lock.Acquire();
    umask(old);
    ASSERT_EQ(result, Result::Primary);
    struct stat status {};
    ASSERT_EQ(stat(LockPath().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

} // namespace
