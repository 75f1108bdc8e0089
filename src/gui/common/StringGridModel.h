#pragma once

#include <QAbstractTableModel>
#include <cstdint>

#include "core/common/StringGrid.h"

namespace losfix {

// A table model over a string grid whose first row and column are fixed: they become the view's
// headers, so they never scroll away. The grid is changed by core code; sync() tells the view.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringGridModel(const StringGrid* grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Brings the view up to date after the grid changed; cheap when nothing changed.
    void sync();

    const StringGrid& grid() const { return *grid_; }
    // Grid coordinates of a model index.
    int gridColumn(const QModelIndex& index) const { return index.column() + 1; }
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }

private:
    const StringGrid* grid_;
    int rows_ = 0;
    int columns_ = 0;
    std::uint64_t revision_ = 0;
};

}  // namespace losfix
