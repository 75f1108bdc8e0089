#include "gui/common/StringGridModel.h"

#include <algorithm>

namespace losfix {

StringGridModel::StringGridModel(const StringGrid* grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
    rows_ = std::max(grid_->rowCount() - 1, 0);
    columns_ = std::max(grid_->columnCount() - 1, 0);
    revision_ = grid_->revision();
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
        return {};
    }
    return QString::fromStdString(grid_->cell(gridColumn(index), gridRow(index)));
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return QString::fromStdString(grid_->cell(section + 1, 0));
    }
    return QString::fromStdString(grid_->cell(0, section + 1));
}

void StringGridModel::sync() {
    const int rows = std::max(grid_->rowCount() - 1, 0);
    const int columns = std::max(grid_->columnCount() - 1, 0);
    if (rows != rows_ || columns != columns_) {
        beginResetModel();
        rows_ = rows;
        columns_ = columns;
        revision_ = grid_->revision();
        endResetModel();
        return;
    }
    if (revision_ == grid_->revision()) {
        return;
    }
    revision_ = grid_->revision();
    if (rows_ > 0 && columns_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::DisplayRole});
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
    emit headerDataChanged(Qt::Horizontal, 0, std::max(columns_ - 1, 0));
}

}  // namespace losfix
