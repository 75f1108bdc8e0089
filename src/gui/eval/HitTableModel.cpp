#include "gui/eval/HitTableModel.h"

#include <algorithm>
#include <numeric>

namespace losfix {

HitTableModel::HitTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void HitTableModel::reset(int items, const QStringList& header, CellText text, SortKey key) {
    beginResetModel();
    header_ = header;
    text_ = std::move(text);
    key_ = std::move(key);
    order_.resize(static_cast<std::size_t>(std::max(items, 0)));
    std::iota(order_.begin(), order_.end(), 0);
    applySort();
    endResetModel();
}

void HitTableModel::clear() {
    beginResetModel();
    order_.clear();
    text_ = nullptr;
    key_ = nullptr;
    endResetModel();
}

int HitTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int HitTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant HitTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !text_ || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return text_(itemAt(index.row()), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return index.column() == 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant HitTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= header_.size()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return header_.at(section);
}

void HitTableModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    if (order_.empty()) {
        return;
    }
    emit layoutAboutToBeChanged();
    // The current line and the selection stay with their rows.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> items;
    for (const QModelIndex& index : before) {
        items.push_back(itemAt(index.row()));
    }
    applySort();
    std::vector<int> lineOf(order_.size());
    for (std::size_t line = 0; line < order_.size(); ++line) {
        lineOf[static_cast<std::size_t>(order_[line])] = static_cast<int>(line);
    }
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.append(
            this->index(lineOf[static_cast<std::size_t>(items[static_cast<std::size_t>(i)])],
                        before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void HitTableModel::applySort() {
    std::iota(order_.begin(), order_.end(), 0);
    if (!key_ || sortColumn_ < 0 || sortColumn_ >= header_.size()) {
        return;
    }
    std::vector<long long> keys(order_.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = key_(static_cast<int>(i), sortColumn_);
    }
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const long long ka = keys[static_cast<std::size_t>(a)];
        const long long kb = keys[static_cast<std::size_t>(b)];
        return descending ? ka > kb : ka < kb;
    });
}

}  // namespace losfix
