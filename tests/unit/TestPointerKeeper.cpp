#include "platform/IPointer.h"
#include "view/PointerKeeper.h"

#include <gtest/gtest.h>

namespace {

class FakePointer : public IPointer {
public:
    void Show() override {
        ++shows;
        visible = true;
    }
    void Hide() override {
        ++hides;
        visible = false;
    }
    bool Position(QPoint& screenPos) override {
        screenPos = position;
        return readable;
    }

    QPoint position{200, 150};
    bool readable = true;
    bool visible = true;
    int shows = 0;
    int hides = 0;
};

class PointerKeeperTest : public testing::Test {
protected:
    void SetUp() override { m_Keeper.Reset(m_Pointer.position); }

    void Ticks(int count, bool menuOpen = false) {
        m_Keeper.SetMenuOpen(menuOpen);
        for (int i = 0; i < count; ++i)
            m_Keeper.OnTick(m_View);
    }

    // Hidden after a second of stillness.
    void HideByStillness() {
        Ticks(PointerKeeper::kStillTicksToHide);
        ASSERT_FALSE(m_Pointer.visible);
    }

    const QRect m_View{100, 100, 400, 300};
    FakePointer m_Pointer;
    PointerKeeper m_Keeper{m_Pointer};
};

TEST_F(PointerKeeperTest, TwentyStillTicksHideThePointer) {
    Ticks(19);
    EXPECT_EQ(m_Pointer.hides, 0);
    EXPECT_EQ(m_Keeper.StillTicks(), 19);
    Ticks(1);
    EXPECT_FALSE(m_Pointer.visible);
    Ticks(3);
    EXPECT_EQ(m_Pointer.hides, 4) << "hidden again on every tick";
    EXPECT_EQ(m_Pointer.shows, 0);
}

TEST_F(PointerKeeperTest, AMoveOfMoreThanRootOf32PixelsShowsIt) {
    struct Move {
        QPoint by;
        bool shows;
    };
    const Move moves[] = {
        {{6, 0}, true},  {{5, 0}, false},  {{4, 4}, false}, {{-4, -5}, true},
        {{0, -6}, true}, {{-3, 4}, false}, {{0, 0}, false},
    };
    for (const Move& move : moves) {
        m_Keeper.Reset(m_Pointer.position);
        HideByStillness();
        m_Pointer.shows = 0;
        m_Pointer.position += move.by;
        Ticks(1);
        EXPECT_EQ(m_Pointer.visible, move.shows) << move.by.x() << "," << move.by.y();
        EXPECT_EQ(m_Keeper.StillTicks(), move.shows ? 0 : PointerKeeper::kStillTicksToHide);
    }
}

TEST_F(PointerKeeperTest, SmallMovesEachTickCountAsStill) {
    for (int i = 0; i < PointerKeeper::kStillTicksToHide; ++i) {
        m_Pointer.position += QPoint(5, 0);
        Ticks(1);
    }
    EXPECT_FALSE(m_Pointer.visible);
}

TEST_F(PointerKeeperTest, APointerOutsideTheViewChangesNothing) {
    Ticks(10);
    const QPoint inside = m_Pointer.position;
    for (QPoint outside : {QPoint(500, 150), QPoint(99, 150), QPoint(200, 400), QPoint(-5, -5)}) {
        m_Pointer.position = outside;
        Ticks(30);
    }
    EXPECT_EQ(m_Pointer.shows + m_Pointer.hides, 0);
    EXPECT_EQ(m_Keeper.StillTicks(), 10);
    m_Pointer.position = inside;
    Ticks(10);
    EXPECT_FALSE(m_Pointer.visible) << "the outside positions were not remembered";
    m_Pointer.position = QPoint(499, 399); // the view's last pixel
    Ticks(1);
    EXPECT_TRUE(m_Pointer.visible);
}

TEST_F(PointerKeeperTest, AnUnreadablePositionChangesNothing) {
    m_Pointer.readable = false;
    Ticks(50);
    EXPECT_EQ(m_Pointer.shows + m_Pointer.hides, 0);
    EXPECT_EQ(m_Keeper.StillTicks(), 0);
}

TEST_F(PointerKeeperTest, AnOpenMenuShowsThePointerAndRestartsTheCount) {
    HideByStillness();
    m_Pointer.position = QPoint(0, 0); // outside the view does not matter
    Ticks(1, true);
    EXPECT_TRUE(m_Pointer.visible);
    EXPECT_EQ(m_Keeper.StillTicks(), 0);
    Ticks(100, true);
    EXPECT_TRUE(m_Pointer.visible);
}

TEST_F(PointerKeeperTest, ResetRestartsTheCountFromTheGivenPosition) {
    Ticks(15);
    m_Keeper.Reset(QPoint(300, 300));
    EXPECT_EQ(m_Keeper.StillTicks(), 0);
    Ticks(1);
    EXPECT_EQ(m_Pointer.shows, 1) << "the pointer is far from the reset position: a move";
    EXPECT_EQ(m_Keeper.StillTicks(), 0);
    m_Keeper.Reset(m_Pointer.position);
    Ticks(19);
    EXPECT_EQ(m_Pointer.hides, 0);
}

TEST_F(PointerKeeperTest, AnEndlesslyStillPointerStaysCountedAtTheThreshold) {
    Ticks(10000);
    EXPECT_EQ(m_Keeper.StillTicks(), PointerKeeper::kStillTicksToHide);
    EXPECT_FALSE(m_Pointer.visible);
}

TEST_F(PointerKeeperTest, ShowAndHidePassThrough) {
    m_Keeper.HidePointer();
    EXPECT_FALSE(m_Pointer.visible);
    m_Keeper.ShowPointer();
    EXPECT_TRUE(m_Pointer.visible);
}

} // namespace
