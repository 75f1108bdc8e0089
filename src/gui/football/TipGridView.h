#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "core/lottery/NumberStatus.h"
#include "gui/rows/RowTableView.h"

namespace losfix {

// Paints a cell of a football grid: filled with the colour the lookup gives for its grid cell
// (column, row from 1), the text regular, clipped, 2 pixels below the top and centred.
class TipCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using FillLookup = std::function<Rgb(int column, int row)>;
    explicit TipCellDelegate(FillLookup fill, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    FillLookup fill_;
};

// The tip table g1 and the outcome matrix g2: a row table with a 40-pixel label column, 30-pixel
// match columns and 16-pixel rows, its corner showing the grid's cell (0, 0).
class TipGridView : public RowTableView {
    Q_OBJECT
public:
    TipGridView(const QString& objectName, StringGridModel* model, TipCellDelegate::FillLookup fill,
                bool scrolls, QWidget* parent = nullptr);

    // The width that shows every column exactly, the vertical scroll bar included.
    int fittingWidth() const;
    // The height of the header and the given number of rows.
    int fittingHeight(int rows) const;
};

}  // namespace losfix
