#pragma once

#include "controls/CMyLParam.h"
#include "controls/ColorListModel.h"

#include <QColor>
#include <QStringList>
#include <QTreeView>
#include <memory>
#include <vector>

class CImageList;
class ColorListDelegate;

// The report list used for the folder and resume screens. Every row carries its own colours
// (a CMyLParam it owns), an icon from the state image list, and texts drawn left-aligned in the
// first column and right-aligned in the others. Keys it receives go to its parent widget first,
// so the view's key map works while the list has the focus.
class CColorListCtrl : public QTreeView {
    Q_OBJECT
public:
    // One row for FillRows.
    struct Row {
        ColorListModel::Texts texts;
        int iconIndex = 0;
        QColor text{0, 0, 0};
        QColor background{255, 255, 255};
    };

    explicit CColorListCtrl(QWidget* parent = nullptr);
    ~CColorListCtrl() override;

    // The row height for a font of `fontHeight` pixels (either sign): |h|*5/4 + 2.
    static int RowHeightForFontHeight(int fontHeight);

    // Columns drawn in each row; -1 until the owner sets it.
    void SetColumnCount(int count) { m_ColumnCount = count; }
    int ColumnCount() const { return m_ColumnCount; }
    void InsertColumn(int index, const QString& caption);
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;

    // Replaces all rows at once (one model reset), each with a new CMyLParam of its colours.
    void FillRows(std::vector<Row> rows);
    // Inserts a row before `row` (appended when past the end) owning `data` (white background,
    // black text by default; null leaves the row undrawn). Returns its index, -1 for row < 0.
    int InsertRow(int row, const QString& text, int iconIndex,
                  std::unique_ptr<CMyLParam> data = std::make_unique<CMyLParam>());
    bool SetItemText(int row, int column, const QString& text);
    QString ItemText(int row, int column) const;
    int IconIndex(int row) const;
    // The row's colour record, still owned by the list; null for no such row.
    CMyLParam* RowData(int row) const;
    // Repaints one row, after its colours were changed through RowData.
    void RedrawRow(int row);
    int RowCount() const;
    // Removes every row and its colour record. Returns 1.
    int DeleteAllRows();

    // Makes `row` the selected and focused row, or removes both from it. False when there is
    // no such row; then a select only records `row` as the selection mark.
    bool SelectRow(int row, bool select);
    int SelectedRow() const;
    int FocusedRow() const;
    int SelectionMark() const { return m_SelectionMark; }
    // The row's bounds across all columns, in viewport coordinates; null for no such row.
    QRect GetRowRect(int row) const;
    // One cell of the row; shrunk by a pixel on every side unless `whole`.
    QRect GetCellRect(int row, int column, bool whole) const;
    void EnsureVisible(int row);
    int TopIndex() const;

    // Not owned; null draws rows without icons.
    void SetStateImageList(const CImageList* images);
    const CImageList* StateImageList() const { return m_StateImages; }
    void SetRowFont(const QFont& font);
    void SetHeaderFont(const QFont& font);
    int RowHeight() const;
    void SetBackgroundColor(QColor colour);

signals:
    void rowActivated(int row);
    void selectionMoved(int row);

protected:
    bool event(QEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void RedrawSelection();
    QRect RowBounds(int top, int height) const;

    ColorListModel* m_Model;
    std::unique_ptr<ColorListDelegate> m_Delegate;
    const CImageList* m_StateImages = nullptr;
    int m_ColumnCount = -1;
    mutable int m_RowHeight = -1; // -1 until asked: measuring a font loads it
    int m_SelectionMark = -1;
};
