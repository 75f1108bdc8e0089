#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "core/lottery/NumberStatus.h"
#include "gui/common/StringGridModel.h"

namespace losfix {

// Paints a number cell in the colour of the number's current status; empty cells and texts that
// are no number from 1 to 90 are white. Selection and focus do not change the look.
class NumberCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using StatusLookup = std::function<NumberStatus(int number)>;
    NumberCellDelegate(StatusLookup lookup, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    StatusLookup lookup_;
};

// The row table g1: header row and label column fixed, 44/24-pixel columns, 16-pixel rows.
class RowTableView : public QTableView {
    Q_OBJECT
public:
    RowTableView(StringGridModel* model, NumberCellDelegate::StatusLookup lookup,
                 QWidget* parent = nullptr);

    StringGridModel* gridModel() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StringGridModel* model_;
};

}  // namespace losfix
