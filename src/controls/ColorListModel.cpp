#include "controls/ColorListModel.h"

#include <algorithm>

int ColorListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Rows.size());
}

int ColorListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Captions.size());
}

QVariant ColorListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Text(index.row(), index.column());
}

QVariant ColorListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_Captions.size())
        return {};
    return m_Captions[section];
}

Qt::ItemFlags ColorListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int ColorListModel::InsertColumn(int index, const QString& caption) {
    const int column = std::clamp(index, 0, columnCount());
    beginInsertColumns({}, column, column);
    m_Captions.insert(column, caption);
    for (Entry& entry : m_Rows) {
        if (entry.texts.size() > column)
            entry.texts.insert(column, QString());
    }
    endInsertColumns();
    return column;
}

int ColorListModel::InsertRow(int row, Entry entry) {
    if (row < 0)
        return -1;
    row = std::min(row, rowCount());
    beginInsertRows({}, row, row);
    m_Rows.insert(m_Rows.begin() + row, std::move(entry));
    endInsertRows();
    return row;
}

void ColorListModel::Reset(std::vector<Entry> entries, std::vector<CMyLParam> block) {
    beginResetModel();
    m_Rows = std::move(entries); // the old rows go before the block they point into
    m_RowDataBlock = std::move(block);
    endResetModel();
}

bool ColorListModel::SetText(int row, int column, const QString& text) {
    if (!HasRow(row) || column < 0 || column >= columnCount())
        return false;
    Texts& texts = m_Rows[static_cast<size_t>(row)].texts;
    while (texts.size() <= column)
        texts.append(QString());
    texts[column] = text;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
    return true;
}

QString ColorListModel::Text(int row, int column) const {
    if (!HasRow(row) || column < 0)
        return {};
    return m_Rows[static_cast<size_t>(row)].texts.value(column);
}

int ColorListModel::IconIndex(int row) const {
    return HasRow(row) ? m_Rows[static_cast<size_t>(row)].iconIndex : -1;
}

CMyLParam* ColorListModel::RowData(int row) const {
    return HasRow(row) ? m_Rows[static_cast<size_t>(row)].data.get() : nullptr;
}
