#include "platform/SleepInhibitor.h"
#include "support/FakeLogin1.h"
#include "support/Patience.h"
#include "support/PrivateBus.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SleepInhibitor, WithoutABusNothingHappens) {
    SleepInhibitor inhibitor(PrivateBus::Absent());
    inhibitor.Inhibit();
    EXPECT_FALSE(inhibitor.IsPending());
    EXPECT_FALSE(inhibitor.IsHeld());
    inhibitor.Release();
}

TEST(SleepInhibitor, HoldsABlockingSleepLockUntilReleased) {
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    FakeLogin1 login1;
    ASSERT_TRUE(login1.Register(bus.Connect(QStringLiteral("login1-service"))));

    SleepInhibitor inhibitor(bus.Connect(QStringLiteral("login1-client")));
    inhibitor.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.IsHeld(); }, kPatienceMs));
    const QStringList arguments = login1.LastArguments();
    ASSERT_EQ(arguments.size(), 4);
    EXPECT_EQ(arguments[0], QStringLiteral("sleep"));
    EXPECT_EQ(arguments[1], QStringLiteral("Ravolo"));
    EXPECT_EQ(arguments[3], QStringLiteral("block"));
    EXPECT_TRUE(login1.IsLockHeld());

    inhibitor.Release();
    EXPECT_FALSE(inhibitor.IsHeld());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !login1.IsLockHeld(); }, kPatienceMs));
}

TEST(SleepInhibitor, ABusWithoutLogindHoldsNothing) {
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    SleepInhibitor inhibitor(bus.Connect(QStringLiteral("login1-client")));
    inhibitor.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inhibitor.IsPending(); }, kPatienceMs));
    EXPECT_FALSE(inhibitor.IsHeld());
}

} // namespace
