#include "controls/CColorListCtrl.h"

#include "controls/ColorListDelegate.h"
#include "controls/ColorListModel.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

namespace {

int FontHeight(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

bool IsTabKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
}

} // namespace

CColorListCtrl::CColorListCtrl(QWidget* parent)
    : QTreeView(parent), m_Model(new ColorListModel(this)),
      m_Delegate(std::make_unique<ColorListDelegate>(*this)) {
    setModel(m_Model);
    setItemDelegate(m_Delegate.get());
    // A flat list of rows of one height: no tree decoration, and the view never asks each
    // row for its height, so a hundred thousand rows lay out at once.
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowActivated(index.row()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit selectionMoved(SelectedRow()); });
}

CColorListCtrl::~CColorListCtrl() {
    // The view must not reach the delegate while it goes.
    setItemDelegate(nullptr);
}

int CColorListCtrl::RowHeight() const {
    if (m_RowHeight < 0)
        m_RowHeight = RowHeightForFontHeight(FontHeight(font()));
    return m_RowHeight;
}

int CColorListCtrl::RowHeightForFontHeight(int fontHeight) {
    return std::abs(fontHeight) * 5 / 4 + 2;
}

void CColorListCtrl::InsertColumn(int index, const QString& caption) {
    m_Model->InsertColumn(index, caption);
}

void CColorListCtrl::SetColumnWidth(int column, int width) {
    if (column >= 0 && column < m_Model->columnCount())
        header()->resizeSection(column, std::max(0, width));
}

int CColorListCtrl::ColumnWidth(int column) const {
    if (column < 0 || column >= m_Model->columnCount())
        return 0;
    return header()->sectionSize(column);
}

// The colour records of all rows in one block: a large folder's fill then allocates no record
// of its own per row.
void CColorListCtrl::FillRows(std::vector<Row> rows) {
    std::vector<CMyLParam> block(rows.size());
    std::vector<ColorListModel::Entry> entries;
    entries.reserve(rows.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        block[k].text = rows[k].text;
        block[k].background = rows[k].background;
        entries.push_back({std::move(rows[k].texts), rows[k].iconIndex,
                           ColorListModel::RowDataPtr(&block[k], {.owned = false})});
    }
    m_Model->Reset(std::move(entries), std::move(block));
}

int CColorListCtrl::InsertRow(int row, const QString& text, int iconIndex,
                              std::unique_ptr<CMyLParam> data) {
    return m_Model->InsertRow(
        row, {ColorListModel::Texts{text}, iconIndex, ColorListModel::RowDataPtr(data.release())});
}

bool CColorListCtrl::SetItemText(int row, int column, const QString& text) {
    return m_Model->SetText(row, column, text);
}

QString CColorListCtrl::ItemText(int row, int column) const {
    return m_Model->Text(row, column);
}

int CColorListCtrl::IconIndex(int row) const {
    return m_Model->IconIndex(row);
}

CMyLParam* CColorListCtrl::RowData(int row) const {
    return m_Model->RowData(row);
}

void CColorListCtrl::RedrawRow(int row) {
    viewport()->update(GetRowRect(row));
}

int CColorListCtrl::RowCount() const {
    return m_Model->rowCount();
}

int CColorListCtrl::DeleteAllRows() {
    m_Model->Reset({});
    return 1;
}

bool CColorListCtrl::SelectRow(int row, bool select) {
    if (row < 0 || row >= RowCount() || m_Model->columnCount() == 0) {
        if (select)
            m_SelectionMark = row;
        return false;
    }
    const QModelIndex index = m_Model->index(row, 0);
    // Selecting a row does not scroll to it; the owner asks for that with EnsureVisible.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    if (select) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    } else {
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        if (FocusedRow() == row)
            selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
    setAutoScroll(scrolls);
    return true;
}

int CColorListCtrl::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

int CColorListCtrl::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QRect CColorListCtrl::RowBounds(int top, int height) const {
    return {-header()->offset(), top, header()->length(), height};
}

QRect CColorListCtrl::GetRowRect(int row) const {
    if (row < 0 || row >= RowCount() || m_Model->columnCount() == 0)
        return {};
    const QRect first = visualRect(m_Model->index(row, 0));
    return RowBounds(first.top(), first.height());
}

QRect CColorListCtrl::GetCellRect(int row, int column, bool whole) const {
    QRect cell = GetRowRect(row);
    if (cell.isNull())
        return cell;
    int left = cell.left();
    for (int c = 0; c < column; ++c)
        left += ColumnWidth(c);
    cell.setLeft(left);
    cell.setWidth(ColumnWidth(column));
    return whole ? cell : cell.adjusted(1, 1, -1, -1);
}

void CColorListCtrl::EnsureVisible(int row) {
    if (row >= 0 && row < RowCount() && m_Model->columnCount() > 0)
        scrollTo(m_Model->index(row, 0), QAbstractItemView::EnsureVisible);
}

int CColorListCtrl::TopIndex() const {
    // Scrolling goes by whole rows, so the scroll position is the index of the top row.
    return RowCount() == 0 ? 0 : std::clamp(verticalScrollBar()->value(), 0, RowCount() - 1);
}

void CColorListCtrl::SetStateImageList(const CImageList* images) {
    m_StateImages = images;
    viewport()->update();
}

void CColorListCtrl::SetRowFont(const QFont& font) {
    setFont(font);
    m_RowHeight = RowHeightForFontHeight(FontHeight(font));
    // Uniform rows take their height from the first row: lay out again to take the new one.
    doItemsLayout();
}

void CColorListCtrl::SetHeaderFont(const QFont& font) {
    header()->setFont(font);
}

void CColorListCtrl::SetBackgroundColor(QColor colour) {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, colour);
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);
}

bool CColorListCtrl::event(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QTreeView::event(event);
    auto* key = static_cast<QKeyEvent*>(event);
    // The parent sees the key first and has finished with it before the list moves.
    QPointer<CColorListCtrl> alive(this);
    if (QWidget* owner = parentWidget()) {
        std::unique_ptr<QEvent> copy(key->clone());
        QCoreApplication::sendEvent(owner, copy.get());
    }
    if (!alive)
        return true;
    // Tab is the view's (screen switch), never a focus move out of the list.
    if (!IsTabKey(*key))
        QTreeView::event(event);
    // The parent has already had the key: it must not reach it again by propagation.
    event->accept();
    return true;
}

void CColorListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int row = index.row();
    QStyleOptionViewItem rowOption = option;
    rowOption.rect = RowBounds(option.rect.top(), option.rect.height());
    rowOption.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    if (selectionModel()->isRowSelected(row, {}))
        rowOption.state |= QStyle::State_Selected;
    if (FocusedRow() == row)
        rowOption.state |= QStyle::State_HasFocus;
    m_Delegate->PaintRow(*painter, rowOption, row);
}

void CColorListCtrl::focusInEvent(QFocusEvent*) {
    RedrawSelection();
}

void CColorListCtrl::focusOutEvent(QFocusEvent*) {
    RedrawSelection();
}

void CColorListCtrl::RedrawSelection() {
    // Only the focused and the selected rows; the rest of the list does not change.
    RedrawRow(FocusedRow());
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            RedrawRow(row);
    }
}

QModelIndex CColorListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    switch (action) {
    case MoveLeft:
    case MoveRight:
        // Left and right scroll a report list sideways; the focused row stays.
        horizontalScrollBar()->triggerAction(action == MoveLeft
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        return currentIndex();
    default: {
        const QModelIndex next = QTreeView::moveCursor(action, modifiers);
        return next.isValid() ? next.siblingAtColumn(0) : next;
    }
    }
}
