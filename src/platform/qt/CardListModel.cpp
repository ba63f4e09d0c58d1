#include "platform/qt/CardListModel.h"

#include "platform/qt/QtText.h"

#include <iterator>
#include <utility>

namespace velkora {

const int CardListModel::ColumnWidths[ColumnCount] = {50, 90, 135};

int CardListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CardListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CardListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const CardListEntry& row = entry(index.row());
    switch (index.column()) {
    case 0: return toQt(row.id);
    case 1: return toQt(row.type);
    case 2: return toQt(row.account);
    default: return {};
    }
}

QVariant CardListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0: return QStringLiteral("ID");
    case 1: return QStringLiteral("密保类型");
    case 2: return QStringLiteral("密保帐号");
    default: return {};
    }
}

Qt::ItemFlags CardListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CardListModel::clear()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

void CardListModel::append(std::vector<CardListEntry> rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    if (rows_.empty())
        rows_ = std::move(rows);
    else
        rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

} // namespace velkora
