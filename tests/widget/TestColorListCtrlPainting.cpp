// What the colour list draws, read back by pixels: row colours, icons, texts, the highlight.
#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"
#include "support/ListWindow.h"
#include "support/Patience.h"
#include "support/Pixels.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <set>

using namespace ListKit;

namespace {

// The x of every column of `area` holding a pixel close to `colour`.
std::vector<int> ColumnsWith(const QImage& image, const QRect& area, QColor colour,
                             int tolerance = 40) {
    std::vector<int> xs;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (Pixels::Near(image.pixelColor(x, y), colour, tolerance)) {
                xs.push_back(x);
                break;
            }
        }
    }
    return xs;
}

// Records the rows that are painted.
struct PaintCountingList : CColorListCtrl {
    using CColorListCtrl::CColorListCtrl;
    mutable std::set<int> painted;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
        painted.insert(index.row());
        CColorListCtrl::drawRow(painter, option, index);
    }
};

} // namespace

TEST(ColorListCtrl, DrawsRowColoursIconsAndAlignedTexts) {
    ListWindow w;
    CImageList icons;
    ASSERT_TRUE(icons.Load(QStringLiteral(":/artwork/icons20.png"), 20));
    w.list->SetStateImageList(&icons);
    const QColor red(200, 0, 0), yellow(255, 255, 0);
    w.list->FillRows({MakeRow(QStringLiteral("Movie"), QStringLiteral("12 MB"), 2),
                      MakeRow(QStringLiteral("Song"), QStringLiteral("3 MB"), 5, yellow, red)});
    w.Show();
    const QImage image = w.Grab();

    const QRect cell0 = w.list->GetCellRect(1, 0, false);
    const QRect cell1 = w.list->GetCellRect(1, 1, false);
    // Background of the row's own colour, a gap-free fill of the whole cell.
    EXPECT_EQ(image.pixelColor(cell0.left() + 120, cell0.center().y()), red);
    EXPECT_EQ(image.pixelColor(cell1.left() + 5, cell0.top()), red);

    // The text starts after the icon: 20 * 5/4 + 4 = 29 pixels into the cell.
    const std::vector<int> text0 = ColumnsWith(image, cell0, yellow);
    ASSERT_FALSE(text0.empty());
    EXPECT_GE(text0.front(), cell0.left() + 29);
    // The second column is right-aligned.
    const std::vector<int> text1 = ColumnsWith(image, cell1, yellow);
    ASSERT_FALSE(text1.empty());
    EXPECT_GT(text1.back(), cell1.right() - 6);
    EXPECT_GT(text1.front(), cell1.left() + cell1.width() / 2);

    // The icon sits at x + 2 at the top of the cell, its mask showing the row colour.
    QImage strip(QStringLiteral(":/artwork/icons20.png"));
    strip = strip.convertToFormat(QImage::Format_RGB32);
    int opaque = 0, masked = 0;
    for (int y = 0; y < 20 && cell0.top() + y < cell0.bottom(); ++y) {
        for (int x = 0; x < 20; ++x) {
            const QColor source = strip.pixelColor(5 * 20 + x, y);
            const QColor shown = image.pixelColor(cell0.left() + 2 + x, cell0.top() + y);
            if (source == QColor(100, 100, 100)) {
                EXPECT_EQ(shown, red) << x << "," << y;
                ++masked;
            } else {
                EXPECT_EQ(shown, source) << x << "," << y;
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 50);
    EXPECT_GT(masked, 10);
}

TEST(ColorListCtrl, SelectedRowUsesTheHighlightColours) {
    ListWindow w;
    w.list->FillRows({MakeRow(QStringLiteral("One"), QStringLiteral("1")),
                      MakeRow(QStringLiteral("Two"), QStringLiteral("2"))});
    w.Show();
    ASSERT_TRUE(w.list->SelectRow(1, true));
    const QImage image = w.Grab();
    const QColor highlight = w.list->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor highlightText =
        w.list->palette().color(QPalette::Active, QPalette::HighlightedText);
    const QRect cell0 = w.list->GetCellRect(1, 0, false);
    EXPECT_EQ(image.pixelColor(cell0.left() + 150, cell0.center().y()), highlight);
    EXPECT_FALSE(ColumnsWith(image, cell0, highlightText, 30).empty());
    EXPECT_TRUE(ColumnsWith(image, cell0, kRowText, 10).empty());
    // The focused row carries a dotted frame on its bounds.
    const QRect bounds = w.list->GetRowRect(1);
    EXPECT_FALSE(
        ColumnsWith(image, QRect(bounds.left(), bounds.top(), bounds.width(), 1), highlightText, 10)
            .empty());
    // The other row keeps its own colours.
    EXPECT_EQ(image.pixelColor(150, w.list->GetRowRect(0).center().y()), kRowBackground);
}

TEST(ColorListCtrl, RowsWithoutDataOrColumnsToDraw) {
    ListWindow w;
    const QColor white(255, 255, 255);
    w.list->InsertRow(0, QStringLiteral("drawn"), 0);
    w.list->InsertRow(1, QStringLiteral("not drawn"), 0, nullptr);
    w.Show();
    QImage image = w.Grab();
    EXPECT_EQ(image.pixelColor(200, w.list->GetRowRect(0).center().y()), white);
    EXPECT_EQ(image.pixelColor(200, w.list->GetRowRect(1).center().y()), kListBackground);

    // With no column count set, only the selection of a selected row is drawn.
    w.list->SetColumnCount(-1);
    w.list->SelectRow(1, true);
    w.list->InsertRow(2, QStringLiteral("selected"), 0);
    w.list->SelectRow(2, true);
    image = w.Grab();
    EXPECT_EQ(image.pixelColor(200, w.list->GetRowRect(0).center().y()), kListBackground);
    const QRect selected = w.list->GetRowRect(2);
    const QColor highlight = w.list->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(200, selected.center().y()), highlight);
    EXPECT_TRUE(ColumnsWith(image, selected.adjusted(2, 2, -2, -2),
                            w.list->palette().color(QPalette::Active, QPalette::HighlightedText),
                            30)
                    .empty())
        << "no text drawn";
}

TEST(ColorListCtrl, TextsAreShownAsTheyAreAndCutAtTheCell) {
    ListWindow w;
    const QString ampersands(8, QLatin1Char('&'));
    w.list->FillRows({MakeRow(ampersands, {}), MakeRow(QString(200, QLatin1Char('W')), {})});
    w.Show();
    const QImage image = w.Grab();
    // No mnemonic processing: eight '&' take the width of eight, not of four.
    const std::vector<int> amp = ColumnsWith(image, w.list->GetCellRect(0, 0, false), kRowText);
    ASSERT_FALSE(amp.empty());
    const QFontMetrics metrics(w.list->font());
    EXPECT_GT(amp.back() - amp.front(), metrics.horizontalAdvance(QString(6, QLatin1Char('&'))));
    // A long text stays inside its cell.
    EXPECT_TRUE(ColumnsWith(image, w.list->GetCellRect(1, 1, true), kRowText).empty());
    EXPECT_FALSE(ColumnsWith(image, w.list->GetCellRect(1, 0, false), kRowText).empty());
}

TEST(ColorListCtrl, FocusChangeRepaintsOnlyTheSelectedRow) {
    QWidget window;
    window.resize(400, 400);
    auto* layout = new QVBoxLayout(&window);
    auto* list = new PaintCountingList;
    auto* other = new QLineEdit;
    layout->addWidget(list);
    layout->addWidget(other);
    AddColumns(*list);
    list->FillRows(NumberedRows(30));
    ShowActive(window);
    list->SelectRow(3, true);
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->painted.count(3) == 1; }, kPatienceMs));

    for (QWidget* target : {static_cast<QWidget*>(other), static_cast<QWidget*>(list)}) {
        list->painted.clear();
        target->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !list->painted.empty(); }, kPatienceMs));
        QTest::qWait(50); // let any further repaint arrive before judging
        EXPECT_EQ(list->painted, std::set<int>{3});
    }
}
