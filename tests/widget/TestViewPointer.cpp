// The pointer over the view: hidden by a blank cursor, and followed through the view's own mouse
// events rather than asked of the window system on every tick.
#include "view/ViewPointer.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

struct ViewPointerTest : testing::Test {
    QWidget view;
    ViewPointer pointer;

    void SetUp() override {
        view.resize(320, 240);
        pointer.SetTarget(&view);
    }
    void Move(QPoint local, QPoint global) {
        QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }
    std::optional<QPoint> Read() {
        QPoint position;
        return pointer.Position(position) ? std::optional(position) : std::nullopt;
    }
};

TEST_F(ViewPointerTest, BeforeAnyEventTheWindowSystemIsAsked) {
    EXPECT_EQ(Read(), QCursor::pos());
}

TEST_F(ViewPointerTest, FollowsTheMovesOverTheViewWithoutAButton) {
    EXPECT_TRUE(view.hasMouseTracking());
    Move({10, 20}, {510, 320});
    EXPECT_EQ(Read(), QPoint(510, 320));
    Move({11, 20}, {511, 320});
    EXPECT_EQ(Read(), QPoint(511, 320));
}

TEST_F(ViewPointerTest, AfterLeavingTheViewThePositionIsUnknownUntilItComesBack) {
    Move({10, 20}, {510, 320});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_EQ(Read(), std::nullopt);
    // An enter event's position may be stale: the window system is asked once.
    QEnterEvent enter(QPointF(300, 5), QPointF(300, 5), QPointF(800, 305));
    QApplication::sendEvent(&view, &enter);
    EXPECT_EQ(Read(), QCursor::pos());
    Move({12, 20}, {512, 320});
    EXPECT_EQ(Read(), QPoint(512, 320));
}

TEST_F(ViewPointerTest, HidingPutsABlankCursorOnTheViewAndShowingTakesItAway) {
    pointer.Hide();
    EXPECT_EQ(view.cursor().shape(), Qt::BlankCursor);
    pointer.Show();
    EXPECT_NE(view.cursor().shape(), Qt::BlankCursor);
}

TEST_F(ViewPointerTest, ANewTargetStartsAfresh) {
    Move({10, 20}, {510, 320});
    QWidget other;
    pointer.SetTarget(&other);
    EXPECT_EQ(Read(), QCursor::pos());
    Move({12, 20}, {512, 320}); // the old view is no longer followed
    EXPECT_EQ(Read(), QCursor::pos());
}

} // namespace
