// The on-screen pad on a real display: each left click on the view shows or hides it, and its
// cells do what their pictures say.
#include "support/RavoloDesktop.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCodeStop = 10;
constexpr int kCodeEnter = 16;
constexpr int kCodeDown = 19;
// At the default size of 40 percent.
constexpr QSize kPadSize(153, 358);

// The middle of the cell with the code (row x 3 + column) in a pad of 3 x 7 cells.
QPoint CellCentre(const QRect& pad, int code) {
    const int w = pad.width() / 3;
    const int h = pad.height() / 7;
    return QPoint((code % 3) * w + w / 2, (code / 3) * h + h / 2);
}

} // namespace

class ControlPad : public testing::Test {
protected:
    void SetUp() override {
        a = desktop.MakeClip(QStringLiteral("a.avi"), 20);
        b = desktop.MakeClip(QStringLiteral("b.avi"), 20);
        desktop.WriteSetting(QStringLiteral("CurrentFolder"), desktop.MediaFolder());
    }

    // The pad: a window of the program beside its frame, where a click at `at` in the view
    // puts it, centred on the click and a tenth of its height above it.
    bool WaitForPadAt(QPoint at) {
        return RavoloDesktop::WaitUntil(
            [&] {
                for (quint64 window : desktop.VisibleTopLevelWindows())
                    if (window != desktop.Frame())
                        pad = window;
                return pad != 0 &&
                       desktop.Geometry(pad) ==
                           QRect(desktop.Geometry(desktop.Frame()).topLeft() + at -
                                     QPoint(kPadSize.width() / 2, kPadSize.height() / 10),
                                 kPadSize);
            },
            RavoloDesktop::kWaitMs);
    }

    bool WaitForNoPad() const {
        return RavoloDesktop::WaitUntil(
            [&] { return desktop.VisibleTopLevelWindows() == QList<quint64>{desktop.Frame()}; },
            RavoloDesktop::kWaitMs);
    }

    void ClickCell(int code) const { desktop.Click(pad, CellCentre(desktop.Geometry(pad), code)); }

    RavoloDesktop desktop;
    QString a, b;
    quint64 pad = 0;
};

TEST_F(ControlPad, ClicksShowAndHideItAndItsCellsAct) {
    ASSERT_TRUE(desktop.Start());
    // The title area, left of its buttons: the view's own surface on the folder screen.
    desktop.Click(desktop.Frame(), QPoint(200, 40));
    ASSERT_TRUE(WaitForPadAt(QPoint(200, 40)));

    // Down moves the selection from a to b; Enter plays it.
    ClickCell(kCodeDown);
    ClickCell(kCodeEnter);
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("b.avi - Ravolo")));
    ASSERT_TRUE(desktop.WaitForVideo());

    // Clicks on the playback screen reach the view through MPlayer's picture.
    desktop.Click(desktop.Frame(), QPoint(480, 300));
    ASSERT_TRUE(WaitForNoPad());
    desktop.Click(desktop.Frame(), QPoint(320, 240));
    ASSERT_TRUE(WaitForPadAt(QPoint(320, 240)));

    // The stop square stores the position.
    ClickCell(kCodeStop);
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("Ravolo")));
    EXPECT_TRUE(RavoloDesktop::WaitUntil(
        [&] {
            return desktop.ReadSetting(QStringLiteral("Resume0")).endsWith(QLatin1Char('|') + b);
        },
        RavoloDesktop::kWaitMs));
}

TEST_F(ControlPad, ADoubleClickIsTwoClicks) {
    ASSERT_TRUE(desktop.Start());
    desktop.Click(desktop.Frame(), QPoint(200, 40));
    ASSERT_TRUE(WaitForPadAt(QPoint(200, 40)));
    // Beside the pad, still on the title area: hidden by the first click, shown by the second
    // where it was made.
    desktop.Click(desktop.Frame(), QPoint(320, 40), 2);
    EXPECT_TRUE(WaitForPadAt(QPoint(320, 40)));
}
