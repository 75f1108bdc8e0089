#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "core/common/NumberSet.h"
#include "core/lottery/NumberStatus.h"
#include "gui/common/StringGridModel.h"

namespace losfix {

// Paints a number cell in the colour of the number's current status; empty cells and texts that
// are no number from 1 to 90 are white. Selection and focus do not change the look. The numbers
// of an evaluated draw are drawn bold in a frame, its additional number in a dashed frame; the
// fill keeps the status colour.
class NumberCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using StatusLookup = std::function<NumberStatus(int number)>;
    NumberCellDelegate(StatusLookup lookup, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    void setMarks(const NumberSet& drawn, int additional);
    const NumberSet& drawn() const { return drawn_; }
    int additional() const { return additional_; }

private:
    StatusLookup lookup_;
    NumberSet drawn_;
    int additional_ = 0;
};

// The row table g1: header row and label column fixed, 44/24-pixel columns, 16-pixel rows.
class RowTableView : public QTableView {
    Q_OBJECT
public:
    RowTableView(StringGridModel* model, NumberCellDelegate::StatusLookup lookup,
                 QWidget* parent = nullptr);

    StringGridModel* gridModel() const { return model_; }
    // Marks the numbers of a draw in every row until they are cleared (an empty set).
    void setMarks(const NumberSet& drawn, int additional);
    const NumberCellDelegate& cellDelegate() const { return *delegate_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StringGridModel* model_;
    NumberCellDelegate* delegate_;
};

}  // namespace losfix
