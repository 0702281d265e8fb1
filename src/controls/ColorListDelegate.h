#pragma once

#include <QAbstractItemDelegate>

class CColorListCtrl;

// Draws whole rows of a CColorListCtrl: the row's own colours, or the platform's highlight for
// the selected row, the state icon in the first column and the texts of the drawn columns.
class ColorListDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    explicit ColorListDelegate(const CColorListCtrl& list);

    // `option.rect` is the row's bounds; `option.state` says whether the row is selected
    // (State_Selected) and whether it is the list's focused row (State_HasFocus).
    void PaintRow(QPainter& painter, const QStyleOptionViewItem& option, int row) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void PaintCell(QPainter& painter, int row, int column, const QFont& font) const;

    const CColorListCtrl& m_List;
};
