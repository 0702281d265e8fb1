// The colour list's rows, selection, keys and size: what the view relies on besides drawing.
#include "controls/CColorListCtrl.h"
#include "support/ListWindow.h"
#include "support/QtPrinters.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ListKit;

namespace {

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
