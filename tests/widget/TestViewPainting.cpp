// What the view paints, read back by pixels: the colour key, the title texts in their colours,
// the button strip at every size step, the pressed button, the audio logo; and what the mouse
// does on the title buttons and elsewhere on the view.
#include "controls/CControlDlg.h"
#include "dialogs/CSettingDlg.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"

#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using namespace ViewTestKit;

namespace {

const QColor kKey(1, 2, 3);
const QColor kFolderText(111, 160, 192);
const QColor kResumeText(192, 160, 111);
const QColor kPressed(192, 255, 255);
constexpr int kTitleHeights[5] = {37, 48, 68, 96, 136};
constexpr int kLine1Heights[5] = {20, 28, 40, 56, 80};

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

bool AllColour(const QImage& image, const QRect& area, const QColor& colour) {
    return CountColour(image, area, colour) == area.width() * area.height();
}

QColor MeanColour(const QImage& image, const QRect& area) {
    long r = 0, g = 0, b = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
        }
    const long n = static_cast<long>(area.width()) * area.height();
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

bool Near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string Text(const QColor& c) {
    return QStringLiteral("(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()).toStdString();
}

// The middle half of a square, where the button pictures have no rounded corners.
QRect Middle(const QRect& square) {
    return square.adjusted(square.width() / 4, square.height() / 4, -square.width() / 4,
                           -square.height() / 4);
}

// The mean colour of the middle of button picture i, as drawn over the colour key.
QColor PictureMean(int i) {
    QImage strip(QStringLiteral(":/artwork/buttons.png"));
    QImage picture(80, 80, QImage::Format_RGB32);
    picture.fill(kKey);
    QPainter(&picture).drawImage(QPoint(0, 0), strip, QRect(80 * i, 0, 80, 80));
    return MeanColour(picture, Middle(picture.rect()));
}

// Collects what a widget is asked to paint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

class ViewPainting : public testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(h.Folder() + "/media/sub");
        m_A = h.MakeFile(QStringLiteral("media/a.avi"));
        h.MakeFile(QStringLiteral("media/b.mp3"));
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/media");
    }
    CRavoloView& Start() { return h.Start(FakePlayer::Program()); }
    CRavoloView& View() { return h.View(); }
    QImage Grab() { return View().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The square of title button i, as the view's geometry puts it.
    QRect Button(int i) {
        const int s = kTitleHeights[View().FontSizeIndex()];
        const int n = h.frame.fullScreen ? 5 : 4;
        return QRect(View().width() + (i - n) * s, 0, s, s);
    }
    void Press(QPoint p) { QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, p); }
    void Release(QPoint p) { QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, p); }
    void Click(QPoint p) {
        Press(p);
        Release(p);
    }
    FakePlayer m_Player{""};
    ViewHarness h;
    QString m_A;
};

TEST_F(ViewPainting, TheTitleShowsTheCountsAndTheFolderInTheScreensColour) {
    h.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 30, 4096, m_A));
    h.Profile().WriteString(QStringLiteral("Resume1"),
                            ResumeEntry(2, 40, 4096, h.Folder() + "/old/gone.avi"));
    Start();
    const QRect title(6, 0, View().width() - 6 - 4 * 68, 68);
    struct Case {
        int command; // brings the screen, 0 for none
        QString line1;
        QString line2;
        QColor colour;
        QColor otherColour;
    };
    const Case cases[] = {
        {0, "Resume (2/30)", h.Folder() + "/media", kResumeText, kFolderText},
        {ID_SWITCH_SCREEN, "Folder (2)", h.Folder() + "/media", kFolderText, kResumeText},
        {ID_FOLDER_TOP, "Folder (0)", "<Drive Select>", kFolderText, kResumeText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line1.toStdString());
        if (c.command != 0)
            View().OnCommand(c.command);
        const TitlePainter::Title content = View().TitleContent();
        EXPECT_EQ(content.line1, c.line1);
        EXPECT_EQ(content.line2, c.line2);
        const QImage image = Grab();
        EXPECT_GT(CountColour(image, title, c.colour), 20);
        EXPECT_EQ(CountColour(image, title, c.otherColour), 0);
    }
    // The resume title follows the selected entry, and is painted anew when it moves.
    View().OnCommand(ID_SWITCH_SCREEN);
    // Past the repaints a screen switch schedules (over MPlayer's last frames).
    QTest::qWait(1200);
    PaintRecorder paints(View());
    PressKey(View(), Qt::Key_Down);
    EXPECT_EQ(View().TitleContent().line2, h.Folder() + "/old");
    const QRect titleArea(0, 0, View().width(), 68);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.painted.contains(titleArea); }, kPatienceMs));
}

TEST_F(ViewPainting, TheButtonsSitAtTheRightEdgeAtEverySizeStep) {
    struct Case {
        const char* stored;
        int windowed;
        int fullScreen;
    };
    const Case cases[] = {{"0:3:40", 0, 3}, {"1:4:40", 1, 4},
                          {"2:0:40", 2, 0}, {"3:1:40", 3, 1},
                          {"4:2:40", 4, 2}, {"9:4294967295:40", 0, 0}}; // outside 0..4: like 0
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        FakePlayer player("");
        ViewHarness harness;
        harness.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/media");
        harness.Profile().WriteString(QStringLiteral("FontSize"), QString::fromLatin1(c.stored));
        harness.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 30, 4096, m_A));
        CRavoloView& view = harness.Start(FakePlayer::Program());
        auto grab = [&view] { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        auto expectButtons = [&](int step, int n, int drawnFrom) {
            const QImage image = grab();
            const int s = kTitleHeights[step];
            for (int i = drawnFrom; i < n; ++i) {
                SCOPED_TRACE(i);
                const QRect square(view.width() + (i - n) * s, 0, s, s);
                const QColor mean = MeanColour(image, Middle(square));
                EXPECT_TRUE(Near(mean, PictureMean(i))) << Text(mean);
            }
            // Right of each title line up to the first button drawn: nothing.
            const TitlePainter::Title title = view.TitleContent();
            const int buttonsStart = view.width() + (drawnFrom - n) * s;
            const int line1Height = kLine1Heights[step];
            const struct {
                QFont font;
                QString text;
                int top;
                int height;
            } lines[] = {
                {view.FolderList().font(), title.line1, 0, line1Height},
                {view.FolderList().header()->font(), title.line2, line1Height, s - line1Height}};
            for (const auto& line : lines) {
                const int end = 6 + QFontMetrics(line.font).horizontalAdvance(line.text) + 2;
                if (end >= buttonsStart)
                    continue;
                EXPECT_TRUE(
                    AllColour(image, QRect(end, line.top, buttonsStart - end, line.height), kKey))
                    << line.text.toStdString();
            }
        };
        expectButtons(c.windowed, 4, 1); // the resume screen has no button 0
        view.OnCommand(ID_SWITCH_SCREEN);
        expectButtons(c.windowed, 4, 0);
        harness.frame.fullScreen = true;
        harness.frame.window.resize(1000, 700);
        expectButtons(c.fullScreen, 5, 0);
        view.OnCommand(ID_FOLDER_TOP); // no button 0 at the drive selection
        expectButtons(c.fullScreen, 5, 1);
    }
}

TEST_F(ViewPainting, APressedButtonIsHighlightedUntilTheReleaseWhichElsewhereDoesNothing) {
    Start();
    const QRect square = Button(1);
    Press(square.center());
    EXPECT_EQ(View().Title().PressedButton(), 1);
    const QColor picture = PictureMean(1);
    const QColor blended((picture.red() + kPressed.red()) / 2,
                         (picture.green() + kPressed.green()) / 2,
                         (picture.blue() + kPressed.blue()) / 2);
    QColor mean = MeanColour(Grab(), Middle(square));
    EXPECT_TRUE(Near(mean, blended)) << Text(mean) << " " << Text(blended);
    EXPECT_TRUE(Near(MeanColour(Grab(), Middle(Button(2))), PictureMean(2)));
    Release(Button(2).center());
    EXPECT_EQ(View().Title().PressedButton(), -1);
    mean = MeanColour(Grab(), Middle(square));
    EXPECT_TRUE(Near(mean, picture)) << Text(mean);
    EXPECT_FALSE(View().State().m_bResumeScreen);
    EXPECT_FALSE(View().ControlPad()->isVisible());
}

TEST_F(ViewPainting, EachTitleButtonPerformsItsActionWhenReleasedOnIt) {
    h.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 30, 4096, m_A));
    Start();
    // 1: the other screen; 2: the other screen with the selection carried.
    Click(Button(1).center());
    ASSERT_FALSE(View().State().m_bResumeScreen);
    ASSERT_TRUE(SelectNamed(View().FolderList(), QStringLiteral("sub")));
    // 0: up one folder, selecting the folder left.
    Click(Button(0).center());
    EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder());
    EXPECT_EQ(SelectedName(View().FolderList()), QStringLiteral("media"));
    View().OnCommand(ID_PLAY);
    ASSERT_TRUE(SelectNamed(View().FolderList(), QStringLiteral("a.avi")));
    Click(Button(2).center());
    EXPECT_TRUE(View().State().m_bResumeScreen);
    EXPECT_EQ(View().State().m_CurrentItem.path, m_A);
    // 3: the settings dialog.
    bool opened = false;
    OnNextModal<CSettingDlg>([&](CSettingDlg* dialog) {
        opened = true;
        dialog->reject();
    });
    Click(Button(3).center());
    EXPECT_TRUE(opened);
    // 4: exit, in full screen only; in a window its place is button 3's.
    h.frame.fullScreen = true;
    h.frame.window.resize(1000, 700);
    Click(Button(4).center());
    EXPECT_EQ(h.frame.closeRequests, 1);
    EXPECT_FALSE(View().ControlPad()->isVisible());
}

TEST_F(ViewPainting, AClickOffTheButtonsShowsThePadAroundItAndTheNextHidesIt) {
    h.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 30, 4096, m_A));
    Start();
    CControlDlg& pad = *View().ControlPad();
    // The title text, and the empty place of button 0 on the resume screen.
    for (const QPoint click : {QPoint(300, 20), Button(0).center()}) {
        SCOPED_TRACE(click.x());
        Click(click);
        ASSERT_TRUE(pad.isVisible());
        EXPECT_EQ(View().Title().PressedButton(), -1);
        EXPECT_EQ(pad.size(), QSize(153, 358));
        EXPECT_EQ(pad.pos(), View().mapToGlobal(click - QPoint(153 / 2, 358 / 10)));
        Click(click + QPoint(5, 5));
        EXPECT_FALSE(pad.isVisible());
    }
    EXPECT_TRUE(View().State().m_bResumeScreen);
    // While playing there are no buttons: a click there toggles the pad.
    ASSERT_TRUE(h.WaitForReady());
    View().PlaySelectedItem();
    ASSERT_TRUE(View().Session().IsPlaying());
    Click(Button(1).center());
    EXPECT_TRUE(pad.isVisible());
    EXPECT_TRUE(View().Session().IsPlaying());
}

TEST_F(ViewPainting, ADoubleClickActsOnceAsTheFirstClickDid) {
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/media/sub");
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&h.frame.window));
    // Through the window, as the desktop delivers a double click.
    auto doubleClick = [&](QPoint p) {
        QTest::mouseDClick(h.frame.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           View().mapTo(&h.frame.window, p));
    };
    // On the up button: one folder up, as one click, and no pad.
    doubleClick(Button(0).center());
    EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder() + "/media");
    EXPECT_EQ(View().Title().PressedButton(), -1);
    EXPECT_TRUE(Near(MeanColour(Grab(), Middle(Button(0))), PictureMean(0)));
    EXPECT_FALSE(View().ControlPad()->isVisible());
}

TEST_F(ViewPainting, WhilePlayingOnlyTheColourKeyShowsOrTheLogoInTheMiddleForAudio) {
    Start();
    ASSERT_TRUE(h.WaitForReady());
    ASSERT_TRUE(SelectNamed(View().FolderList(), QStringLiteral("a.avi")));
    View().PlaySelectedItem();
    ASSERT_TRUE(View().Session().IsPlaying());
    EXPECT_TRUE(AllColour(Grab(), View().rect(), kKey));

    View().OnCommand(ID_STOP_NO_REGISTER);
    ASSERT_TRUE(h.EndUnansweredStop());
    ASSERT_TRUE(SelectNamed(View().FolderList(), QStringLiteral("b.mp3")));
    View().PlaySelectedItem();
    ASSERT_TRUE(View().Session().IsPlaying());
    const QImage logo(QStringLiteral(":/artwork/logo.png"));
    ASSERT_EQ(logo.size(), QSize(256, 256));
    QImage expected(View().size(), QImage::Format_RGB32);
    expected.fill(kKey);
    const QPoint at((View().width() - 256) / 2, (View().height() - 256) / 2);
    QPainter(&expected).drawImage(at, logo);
    EXPECT_EQ(Grab(), expected);
}

} // namespace
