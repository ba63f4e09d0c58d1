#pragma once
// The rows of the card list: ID, type and account of each card, in the order they were added.
// Texts stay GB18030 and are turned into QString only for the rows on screen.

#include <QAbstractTableModel>

#include <vector>

#include "carddata/CardStore.h"

namespace velkora {

class CardListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int ColumnCount = 3;
    static const int ColumnWidths[ColumnCount]; // 50, 90, 135

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void clear();
    void append(std::vector<CardListEntry> rows); // one insertion for all rows
    const CardListEntry& entry(int row) const { return rows_[static_cast<std::size_t>(row)]; }

private:
    std::vector<CardListEntry> rows_;
};

} // namespace velkora
