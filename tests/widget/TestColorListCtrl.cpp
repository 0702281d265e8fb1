#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <set>

namespace {

const QColor kListBackground(0, 32, 64);
const QColor kRowText(128, 220, 242);
const QColor kRowBackground(0, 32, 64);

QFont PixelFont(int height) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(height);
    return font;
}

CColorListCtrl::Row MakeRow(const QString& name, const QString& size, int icon = 0,
                            QColor text = kRowText, QColor background = kRowBackground) {
    return {{name, size}, icon, text, background};
}

std::vector<CColorListCtrl::Row> NumberedRows(int count) {
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back(MakeRow(QStringLiteral("file %1").arg(i), QStringLiteral("%1 KB").arg(i)));
    return rows;
}

// The two columns the view gives both lists.
void AddColumns(CColorListCtrl& list) {
    list.SetColumnCount(2);
    list.InsertColumn(0, QStringLiteral("File"));
    list.InsertColumn(1, QStringLiteral("Size"));
}

void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A window holding one list set up as the view sets up its two lists.
struct ListWindow {
    QWidget window;
    CColorListCtrl* list = new CColorListCtrl(&window);

    ListWindow() {
        window.resize(420, 320);
        list->setGeometry(0, 0, 420, 320);
        list->SetBackgroundColor(kListBackground);
        list->SetRowFont(PixelFont(16));
        AddColumns(*list);
        list->SetColumnWidth(0, 260);
        list->SetColumnWidth(1, 120);
    }
    void Show() {
        ShowActive(window);
        list->setFocus();
    }
    // The list's rows as drawn, in viewport coordinates.
    QImage Grab() {
        return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The x of every column of `area` holding a pixel close to `colour`.
std::vector<int> ColumnsWith(const QImage& image, const QRect& area, QColor colour,
                             int tolerance = 40) {
    std::vector<int> xs;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (Near(image.pixelColor(x, y), colour, tolerance)) {
                xs.push_back(x);
                break;
            }
        }
    }
    return xs;
}

// A colour record that counts its own destruction.
struct CountedParam : CMyLParam {
    explicit CountedParam(int* destroyed) : m_pDestroyed(destroyed) {}
    ~CountedParam() override { ++*m_pDestroyed; }
    int* m_pDestroyed;
};

// The view stand-in: records each key it is sent with the list's selection at that moment.
struct KeyRecorder : QWidget {
    CColorListCtrl* list = nullptr;
    struct Seen {
        QEvent::Type type;
        int key;
        int selectedRow;
    };
    std::vector<Seen> seen;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            seen.push_back({e->type(), static_cast<QKeyEvent*>(e)->key(), list->SelectedRow()});
            return true;
        }
        return QWidget::event(e);
    }
    int Presses(int key) const {
        return static_cast<int>(std::count_if(seen.begin(), seen.end(), [key](const Seen& s) {
            return s.type == QEvent::KeyPress && s.key == key;
        }));
    }
};

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

TEST(ColorListCtrl, RowHeightFollowsTheFontHeight) {
    const std::pair<int, int> cases[] = {{12, 17}, {16, 22}, {23, 30}, {34, 44},
                                         {48, 62}, {70, 89}, {-23, 30}};
    for (auto [fontHeight, rowHeight] : cases)
        EXPECT_EQ(CColorListCtrl::RowHeightForFontHeight(fontHeight), rowHeight) << fontHeight;

    ListWindow w;
    w.list->FillRows({MakeRow(QStringLiteral("a"), {}), MakeRow(QStringLiteral("b"), {})});
    for (auto [fontHeight, rowHeight] : cases) {
        if (fontHeight < 0)
            continue;
        w.list->SetRowFont(PixelFont(fontHeight));
        EXPECT_EQ(w.list->GetRowRect(0).height(), rowHeight) << fontHeight;
        EXPECT_EQ(w.list->GetRowRect(1).top(), w.list->GetRowRect(0).top() + rowHeight);
    }
}

TEST(ColorListCtrl, CellRectangles) {
    ListWindow w;
    w.list->FillRows({MakeRow(QStringLiteral("a"), {}), MakeRow(QStringLiteral("b"), {})});
    const QRect row = w.list->GetRowRect(1);
    EXPECT_EQ(row, QRect(0, 22, 380, 22));
    EXPECT_EQ(w.list->GetCellRect(1, 0, true), QRect(0, 22, 260, 22));
    EXPECT_EQ(w.list->GetCellRect(1, 1, true), QRect(260, 22, 120, 22));
    EXPECT_EQ(w.list->GetCellRect(1, 0, false), QRect(1, 23, 258, 20));
    EXPECT_EQ(w.list->GetCellRect(1, 1, false), QRect(261, 23, 118, 20));
    EXPECT_TRUE(w.list->GetRowRect(2).isNull());
    EXPECT_TRUE(w.list->GetCellRect(-1, 0, true).isNull());
}

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

TEST(ColorListCtrl, DeleteAllRowsFreesTheRecordsAndIsHarmlessTwice) {
    int destroyed = 0;
    {
        ListWindow w;
        for (int i = 0; i < 3; ++i)
            w.list->InsertRow(i, QStringLiteral("row"), 0,
                              std::make_unique<CountedParam>(&destroyed));
        EXPECT_EQ(w.list->DeleteAllRows(), 1);
        EXPECT_EQ(destroyed, 3);
        EXPECT_EQ(w.list->RowCount(), 0);
        EXPECT_EQ(w.list->DeleteAllRows(), 1);
        EXPECT_EQ(destroyed, 3);
        w.list->InsertRow(0, QStringLiteral("kept"), 0, std::make_unique<CountedParam>(&destroyed));
    }
    EXPECT_EQ(destroyed, 4) << "the list frees its records when it goes";
}

TEST(ColorListCtrl, InsertRowAndTexts) {
    ListWindow w;
    EXPECT_EQ(w.list->InsertRow(0, QStringLiteral("b"), 3), 0);
    EXPECT_EQ(w.list->InsertRow(0, QStringLiteral("a"), 1), 0);
    EXPECT_EQ(w.list->InsertRow(99, QStringLiteral("c"), 2), 2) << "past the end appends";
    EXPECT_EQ(w.list->InsertRow(-1, QStringLiteral("x"), 2), -1);
    EXPECT_EQ(w.list->RowCount(), 3);
    EXPECT_EQ(w.list->ItemText(0, 0), QStringLiteral("a"));
    EXPECT_EQ(w.list->IconIndex(1), 3);
    EXPECT_TRUE(w.list->SetItemText(1, 1, QStringLiteral("4 KB")));
    EXPECT_EQ(w.list->ItemText(1, 1), QStringLiteral("4 KB"));
    EXPECT_FALSE(w.list->SetItemText(1, 2, QStringLiteral("no column")));
    EXPECT_FALSE(w.list->SetItemText(3, 0, QStringLiteral("no row")));
    ASSERT_NE(w.list->RowData(2), nullptr);
    EXPECT_EQ(w.list->RowData(2)->background, QColor(255, 255, 255));
    EXPECT_EQ(w.list->RowData(3), nullptr);
}

TEST(ColorListCtrl, SelectRowSelectsAndFocusesOneRowWithoutScrolling) {
    ListWindow w;
    w.list->FillRows(NumberedRows(1000));
    w.Show();
    QSignalSpy moved(w.list, &CColorListCtrl::selectionMoved);

    EXPECT_TRUE(w.list->SelectRow(3, true));
    EXPECT_TRUE(w.list->SelectRow(900, true));
    EXPECT_EQ(w.list->SelectedRow(), 900);
    EXPECT_EQ(w.list->FocusedRow(), 900);
    EXPECT_EQ(w.list->TopIndex(), 0);
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.at(1).at(0).toInt(), 900);

    w.list->EnsureVisible(900);
    EXPECT_GT(w.list->TopIndex(), 880);
    EXPECT_TRUE(w.list->viewport()->rect().contains(w.list->GetRowRect(900)));

    EXPECT_TRUE(w.list->SelectRow(900, false));
    EXPECT_EQ(w.list->SelectedRow(), -1);
    EXPECT_EQ(w.list->FocusedRow(), -1);

    EXPECT_FALSE(w.list->SelectRow(1000, true));
    EXPECT_EQ(w.list->SelectionMark(), 1000);
    EXPECT_FALSE(w.list->SelectRow(-1, true));
    EXPECT_EQ(w.list->SelectedRow(), -1);
}

TEST(ColorListCtrl, ParentSeesEveryKeyBeforeTheListMoves) {
    KeyRecorder view;
    view.resize(400, 300);
    auto* list = new CColorListCtrl(&view);
    view.list = list;
    list->setGeometry(0, 0, 400, 300);
    AddColumns(*list);
    list->FillRows(NumberedRows(5));
    ShowActive(view);
    list->setFocus();
    list->SelectRow(0, true);

    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(view.seen.size(), 2u);
    EXPECT_EQ(view.seen[0].type, QEvent::KeyPress);
    EXPECT_EQ(view.seen[0].selectedRow, 0) << "the parent had the key before the list moved";
    EXPECT_EQ(view.seen[1].type, QEvent::KeyRelease);
    EXPECT_EQ(list->SelectedRow(), 1);

    // Keys the list does not use reach the parent once, not again by propagation.
    for (int key : {Qt::Key_Return, Qt::Key_F5, Qt::Key_Escape, Qt::Key_Tab})
        QTest::keyClick(list, static_cast<Qt::Key>(key));
    for (int key : {Qt::Key_Return, Qt::Key_F5, Qt::Key_Escape, Qt::Key_Tab})
        EXPECT_EQ(view.Presses(key), 1) << key;
    EXPECT_TRUE(list->hasFocus()) << "Tab does not move the focus out of the list";

    // Ctrl+Backspace goes to the parent first, then the list handles it as usual.
    QTest::keyClick(list, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(view.Presses(Qt::Key_Backspace), 1);
    EXPECT_EQ(list->SelectedRow(), 1);

    // Paging and moving by the list itself.
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->SelectedRow(), 4);
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(list->SelectedRow(), 0);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(list->SelectedRow(), 0) << "sideways keys do not move the selection";
}

TEST(ColorListCtrl, DoubleClickActivatesTheRow) {
    ListWindow w;
    w.list->FillRows({MakeRow(QStringLiteral("a"), {}), MakeRow(QStringLiteral("b"), {})});
    w.Show();
    QSignalSpy activated(w.list, &CColorListCtrl::rowActivated);
    const QPoint row1 = w.list->GetRowRect(1).center();
    // A real double-click: a click, then the second press arriving as a double-click.
    QTest::mouseClick(w.list->viewport(), Qt::LeftButton, {}, row1);
    EXPECT_EQ(activated.count(), 0);
    QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, row1);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toInt(), 1);
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

TEST(ColorListCtrl, FillsAndScrollsAHundredThousandRows) {
    ListWindow w;
    constexpr int kRows = 100000;
    w.list->FillRows(NumberedRows(kRows));
    w.Show();
    EXPECT_EQ(w.list->RowCount(), kRows);
    EXPECT_EQ(w.list->ItemText(kRows - 1, 1), QStringLiteral("99999 KB"));

    w.list->SelectRow(0, true);
    QTest::keyClick(w.list, Qt::Key_End);
    EXPECT_EQ(w.list->SelectedRow(), kRows - 1);
    EXPECT_GT(w.list->TopIndex(), kRows - 20);
    const QImage image = w.Grab();
    EXPECT_EQ(image.pixelColor(200, w.list->GetRowRect(kRows - 2).center().y()), kRowBackground);

    EXPECT_EQ(w.list->DeleteAllRows(), 1);
    EXPECT_EQ(w.list->RowCount(), 0);
}
