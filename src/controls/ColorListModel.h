#pragma once

#include "controls/CMyLParam.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVarLengthArray>
#include <memory>
#include <vector>

// Deletes a row's colour record, unless it lies in the block of records made for a whole
// fill, which the model frees at once.
struct ColorListRowDataDeleter {
    bool owned = true;
    void operator()(CMyLParam* data) const {
        if (owned)
            delete data;
    }
};

// The rows of a CColorListCtrl: texts per column, an icon index and the row's own colours.
// Plain storage so that a folder of many thousands of files fills in one go.
class ColorListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowDataPtr = std::unique_ptr<CMyLParam, ColorListRowDataDeleter>;
    // Two columns, the program's own lists, are held in the row itself: a list of its own for
    // each row cost a hundred thousand allocations, and as many frees, for a large folder.
    using Texts = QVarLengthArray<QString, 2>;

    struct Entry {
        Texts texts;
        int iconIndex = 0;
        RowDataPtr data; // may be null: such a row is not drawn
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Inserts a column before `index` (clamped to the existing columns); returns its index.
    int InsertColumn(int index, const QString& caption);
    // Inserts `entry` before `row` (at the end when row is past it); -1 for a negative row.
    int InsertRow(int row, Entry entry);
    // Replaces every row at once; block holds the records the new rows point into, if any.
    void Reset(std::vector<Entry> entries, std::vector<CMyLParam> block = {});
    bool SetText(int row, int column, const QString& text);

    QString Text(int row, int column) const;
    int IconIndex(int row) const;
    CMyLParam* RowData(int row) const;

private:
    bool HasRow(int row) const { return row >= 0 && row < rowCount(); }

    QStringList m_Captions;
    std::vector<Entry> m_Rows;
    std::vector<CMyLParam> m_RowDataBlock;
};
