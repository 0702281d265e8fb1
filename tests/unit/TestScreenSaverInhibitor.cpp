#include "platform/ScreenSaverInhibitor.h"
#include "support/FakeScreenSaver.h"
#include "support/Patience.h"
#include "support/PrivateBus.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ScreenSaverInhibitor, WithoutABusNothingHappens) {
    ScreenSaverInhibitor inhibitor(PrivateBus::Absent());
    inhibitor.Inhibit();
    EXPECT_TRUE(inhibitor.IsRequested());
    EXPECT_FALSE(inhibitor.IsPending());
    EXPECT_FALSE(inhibitor.IsHeld());
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.IsRequested());
}

class ScreenSaverInhibitorOnBus : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Bus.IsRunning());
        ASSERT_TRUE(m_Service.Register(m_Bus.Connect(QStringLiteral("screensaver-service"))));
    }

    PrivateBus m_Bus;
    FakeScreenSaver m_Service;
};

TEST_F(ScreenSaverInhibitorOnBus, InhibitsOnceAndReleases) {
    ScreenSaverInhibitor inhibitor(m_Bus.Connect(QStringLiteral("screensaver-client")));
    inhibitor.Inhibit();
    inhibitor.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.IsHeld(); }, kPatienceMs));
    inhibitor.Inhibit();
    EXPECT_EQ(m_Service.InhibitCalls(), 1);
    EXPECT_EQ(m_Service.ActiveCount(), 1);
    EXPECT_EQ(m_Service.LastApplication(), QStringLiteral("Ravolo"));

    inhibitor.Release();
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.IsHeld());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_Service.ActiveCount() == 0; }, kPatienceMs));

    inhibitor.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_Service.ActiveCount() == 1; }, kPatienceMs));
}

TEST_F(ScreenSaverInhibitorOnBus, ReleasedBeforeTheAnswerGivesTheCookieBack) {
    ScreenSaverInhibitor inhibitor(m_Bus.Connect(QStringLiteral("screensaver-client")));
    inhibitor.Inhibit();
    inhibitor.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inhibitor.IsPending(); }, kPatienceMs));
    EXPECT_EQ(m_Service.InhibitCalls(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_Service.ActiveCount() == 0; }, kPatienceMs));
    EXPECT_FALSE(inhibitor.IsHeld());
}

TEST_F(ScreenSaverInhibitorOnBus, DestructionReleases) {
    {
        ScreenSaverInhibitor inhibitor(m_Bus.Connect(QStringLiteral("screensaver-client")));
        inhibitor.Inhibit();
        ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.IsHeld(); }, kPatienceMs));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_Service.ActiveCount() == 0; }, kPatienceMs));
}

TEST(ScreenSaverInhibitor, ABusWithoutTheServiceHoldsNothing) {
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    ScreenSaverInhibitor inhibitor(bus.Connect(QStringLiteral("screensaver-client")));
    inhibitor.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inhibitor.IsPending(); }, kPatienceMs));
    EXPECT_FALSE(inhibitor.IsHeld());
    inhibitor.Release();
}

} // namespace
