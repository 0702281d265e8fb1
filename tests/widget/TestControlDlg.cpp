#include "controls/CControlDlg.h"
#include "platform/AppEvents.h"
#include "support/Patience.h"
#include "support/Pixels.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

// The view stand-in: collects the pad codes posted to it.
struct PadCodeRecorder : QObject {
    std::vector<long> codes;
    bool event(QEvent* e) override {
        if (e->type() == static_cast<QEvent::Type>(WM_PAD_COMMAND)) {
            codes.push_back(static_cast<CAppEvent*>(e)->Value());
            return true;
        }
        return QObject::event(e);
    }
    // Everything posted so far, delivered.
    const std::vector<long>& Delivered() {
        QCoreApplication::sendPostedEvents(this);
        return codes;
    }
};

struct ControlDlg : testing::Test {
    QWidget owner;
    PadCodeRecorder view;

    void SetUp() override {
        owner.resize(640, 480);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }
    void ShowPad(CControlDlg& pad) {
        pad.move(owner.pos() + QPoint(40, 40));
        pad.show();
        pad.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pad));
    }
    static QPoint Centre(const CControlDlg& pad, int code) { return pad.CellRect(code).center(); }
};

QColor Blend(QColor under, QColor over) {
    const double a = over.alphaF();
    auto mix = [a](int o, int u) { return static_cast<int>(o * a + u * (1 - a) + 0.5); };
    return QColor(mix(over.red(), under.red()), mix(over.green(), under.green()),
                  mix(over.blue(), under.blue()));
}

} // namespace

TEST_F(ControlDlg, IsAHiddenFramelessToolWindowOfTheOwner) {
    CControlDlg pad(&owner, &view);
    EXPECT_EQ(pad.parentWidget(), &owner);
    EXPECT_TRUE(pad.isWindow());
    EXPECT_TRUE(pad.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(pad.windowType(), Qt::Tool);
    EXPECT_FALSE(pad.isVisible());
    EXPECT_TRUE(pad.HasPicture());
}

TEST_F(ControlDlg, SizeIsAPercentOfThePicture) {
    CControlDlg pad(&owner, &view);
    EXPECT_EQ(pad.size(), QSize(153, 358)) << "the default is 40 percent";
    pad.move(30, 50);
    const struct {
        int percent;
        QSize size;
    } cases[] = {{20, {76, 179}}, {33, {126, 295}}, {40, {153, 358}},  {100, {384, 896}},
                 {0, {3, 8}},     {-5, {3, 8}},     {101, {384, 896}}, {INT_MAX, {384, 896}}};
    for (const auto& c : cases) {
        pad.SetPadSize(c.percent);
        EXPECT_EQ(pad.size(), c.size) << c.percent;
        EXPECT_EQ(pad.pos(), QPoint(30, 50)) << "resizing keeps the position";
    }
}

TEST_F(ControlDlg, HitTestUsesWholeCellsAndGivesLeftoversToTheLastCell) {
    CControlDlg pad(&owner, &view);
    struct Case {
        int percent;
        QPoint point;
        int code;
    } cases[] = {
        // 153 x 358: cells of 51 x 51, one leftover row of pixels at the bottom.
        {40, {0, 0}, 0},
        {40, {50, 50}, 0},
        {40, {51, 0}, 1},
        {40, {152, 0}, 2},
        {40, {0, 51}, 3},
        {40, {152, 356}, 20},
        {40, {0, 357}, 18},
        {40, {152, 357}, 20},
        {40, {153, 0}, -1},
        {40, {-1, 0}, -1},
        {40, {0, 358}, -1},
        {40, {0, -1}, -1},
        // 134 x 313: cells of 44 x 44, two leftover columns and five leftover rows.
        {35, {131, 0}, 2},
        {35, {132, 0}, 2},
        {35, {133, 312}, 20},
        {35, {44, 308}, 19},
        // The picture's own size: cells of 128.
        {100, {127, 127}, 0},
        {100, {128, 128}, 4},
        {100, {383, 895}, 20},
    };
    for (const Case& c : cases) {
        pad.SetPadSize(c.percent);
        EXPECT_EQ(pad.CellAt(c.point), c.code)
            << c.percent << "% at " << c.point.x() << "," << c.point.y();
    }
}

TEST_F(ControlDlg, CellRectangleLeavesTheGap) {
    CControlDlg pad(&owner, &view);
    pad.SetPadSize(100);
    EXPECT_EQ(pad.CellRect(0), QRect(QPoint(5, 5), QPoint(123, 123)));
    EXPECT_EQ(pad.CellRect(20), QRect(QPoint(261, 773), QPoint(379, 891)));
    pad.SetPadSize(40);
    EXPECT_EQ(pad.CellRect(0), QRect(QPoint(3, 3), QPoint(48, 48)));
    EXPECT_EQ(pad.CellRect(4), QRect(QPoint(54, 54), QPoint(99, 99)));
}

TEST_F(ControlDlg, ReleaseOverThePressedCellPostsItsCode) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    const QImage before = pad.grab().toImage();
    QTest::mousePress(&pad, Qt::LeftButton, {}, Centre(pad, 9));
    EXPECT_EQ(pad.PressedCell(), 9);
    EXPECT_TRUE(view.Delivered().empty()) << "nothing is sent on the press";

    // The pressed button is tinted light cyan; its neighbour is not.
    const QImage pressed = pad.grab().toImage();
    const QPoint inside = Centre(pad, 9) + QPoint(0, 18);
    EXPECT_TRUE(Pixels::Near(pressed.pixelColor(inside),
                             Blend(before.pixelColor(inside), QColor(0xC0, 0xFF, 0xFF, 0x80)), 3));
    EXPECT_EQ(pressed.pixelColor(Centre(pad, 10)), before.pixelColor(Centre(pad, 10)));

    QTest::mouseMove(&pad, Centre(pad, 9) + QPoint(5, 5));
    EXPECT_EQ(pad.PressedCell(), 9) << "moving inside the cell keeps the press";
    QTest::mouseRelease(&pad, Qt::LeftButton, {}, Centre(pad, 9) + QPoint(5, 5));
    EXPECT_EQ(view.Delivered(), std::vector<long>{9});
    EXPECT_EQ(pad.PressedCell(), -1);
    EXPECT_EQ(pad.grab().toImage().pixelColor(inside), before.pixelColor(inside));
}

TEST_F(ControlDlg, ADoubleClickSendsItsCodeOnce) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    // Through the window, as the desktop delivers a double click.
    QTest::mouseDClick(pad.windowHandle(), Qt::LeftButton, {}, Centre(pad, 16));
    EXPECT_EQ(view.Delivered(), std::vector<long>{16});
    EXPECT_EQ(pad.PressedCell(), -1);
}

TEST_F(ControlDlg, LeavingTheCellCancelsThePress) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    QTest::mousePress(&pad, Qt::LeftButton, {}, Centre(pad, 16));
    QTest::mouseMove(&pad, Centre(pad, 17));
    EXPECT_EQ(pad.PressedCell(), -1) << "the highlight goes on the first move off the cell";
    QTest::mouseRelease(&pad, Qt::LeftButton, {}, Centre(pad, 17));
    EXPECT_TRUE(view.Delivered().empty());

    // A release elsewhere with no move reported in between sends nothing either.
    QTest::mousePress(&pad, Qt::LeftButton, {}, Centre(pad, 16));
    QTest::mouseRelease(&pad, Qt::LeftButton, {}, Centre(pad, 13));
    EXPECT_TRUE(view.Delivered().empty());
}

TEST_F(ControlDlg, GripDragsThePadAndSendsNothing) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    const QPoint start = pad.pos();
    const QPoint grip = Centre(pad, CControlDlg::kGripCell);
    QTest::mousePress(&pad, Qt::LeftButton, {}, grip);
    EXPECT_EQ(pad.PressedCell(), -1) << "the grip is never highlighted";
    // The offscreen platform cannot move windows for us, so the pad follows the pointer.
    QTest::mouseMove(&pad, grip + QPoint(30, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pad.pos() == start + QPoint(30, 20); }, kPatienceMs));
    QTest::mouseRelease(&pad, Qt::LeftButton, {}, grip);
    EXPECT_TRUE(view.Delivered().empty());
}

TEST_F(ControlDlg, EnterAndEscapeLeaveItOpen) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&pad, key);
        EXPECT_TRUE(pad.isVisible()) << key;
    }
    EXPECT_TRUE(view.Delivered().empty());
}

TEST_F(ControlDlg, MissingPictureLeavesABlankWorkingPad) {
    CControlDlg pad(&owner, &view, QStringLiteral("/nonexistent/pad.png"));
    EXPECT_FALSE(pad.HasPicture());
    ShowPad(pad);
    const QImage blank = pad.grab().toImage();
    EXPECT_EQ(blank.pixelColor(Centre(pad, 4)), blank.pixelColor(2, 2));
    QTest::mousePress(&pad, Qt::LeftButton, {}, Centre(pad, 20));
    EXPECT_NE(pad.grab().toImage().pixelColor(Centre(pad, 20)), blank.pixelColor(Centre(pad, 20)));
    QTest::mouseRelease(&pad, Qt::LeftButton, {}, Centre(pad, 20));
    EXPECT_EQ(view.Delivered(), std::vector<long>{20});
}

TEST_F(ControlDlg, EveryButtonSendsItsOwnCode) {
    CControlDlg pad(&owner, &view);
    ShowPad(pad);
    std::vector<long> expected;
    for (int code = 0; code < 21; ++code) {
        if (code == CControlDlg::kGripCell)
            continue;
        QTest::mouseClick(&pad, Qt::LeftButton, {}, Centre(pad, code));
        expected.push_back(code);
    }
    EXPECT_EQ(view.Delivered(), expected);
}
