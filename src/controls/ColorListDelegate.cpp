#include "controls/ColorListDelegate.h"

#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"

#include <QPainter>

namespace {

// A dotted frame just inside `rect`, the usual mark of the focused row.
void DrawFocusRect(QPainter& painter, const QRect& rect, QColor colour) {
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace

ColorListDelegate::ColorListDelegate(const CColorListCtrl& list)
    : QAbstractItemDelegate(nullptr), m_List(list) {}

void ColorListDelegate::PaintRow(QPainter& painter, const QStyleOptionViewItem& option,
                                 int row) const {
    const CMyLParam* colours = m_List.RowData(row);
    if (!colours)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        // The active colours always: the look of the selection does not follow activation.
        painter.fillRect(option.rect, option.palette.color(QPalette::Active, QPalette::Highlight));
        const QColor text = option.palette.color(QPalette::Active, QPalette::HighlightedText);
        painter.setPen(text);
        if (option.state & QStyle::State_HasFocus)
            DrawFocusRect(painter, option.rect, text);
    }
    for (int column = 0; column < m_List.ColumnCount(); ++column) {
        if (!selected) {
            painter.fillRect(m_List.GetCellRect(row, column, true), colours->background);
            painter.setPen(colours->text);
        }
        PaintCell(painter, row, column, option.font);
    }
}

void ColorListDelegate::PaintCell(QPainter& painter, int row, int column, const QFont& font) const {
    QRect cell = m_List.GetCellRect(row, column, false);
    const CImageList* images = m_List.StateImageList();
    if (column == 0 && images) {
        images->Draw(painter, m_List.IconIndex(row), cell.topLeft() + QPoint(2, 0));
        cell.setLeft(cell.left() + images->ImageWidth() * 5 / 4 + 4);
    }
    if (cell.width() <= 0)
        return;
    painter.setFont(font);
    const QString text = painter.fontMetrics().elidedText(m_List.ItemText(row, column),
                                                          Qt::ElideRight, cell.width());
    // No mnemonic flag: an '&' in a file name is shown as it is.
    const int align = Qt::AlignVCenter | (column == 0 ? Qt::AlignLeft : Qt::AlignRight);
    painter.drawText(cell, align | Qt::TextSingleLine, text);
}

void ColorListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    PaintRow(*painter, option, index.row());
}

QSize ColorListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {0, m_List.RowHeight()};
}
