#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

namespace losfix {

// The rows of an evaluation, one line per row, with texts made only for the lines in view, so
// that 99,999 rows cost nothing until they are shown. Sorting reorders the lines, never the rows.
class HitTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<QString(int item, int column)>;
    // What a column sorts by; items with equal keys keep their order.
    using SortKey = std::function<long long(int item, int column)>;

    explicit HitTableModel(QObject* parent = nullptr);

    // Shows `items` rows; keeps the column the user sorted by.
    void reset(int items, const QStringList& header, CellText text, SortKey key);
    void clear();
    // The item shown in line `line`.
    int itemAt(int line) const { return order_.at(static_cast<std::size_t>(line)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void applySort();

    QStringList header_;
    CellText text_;
    SortKey key_;
    std::vector<int> order_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace losfix
