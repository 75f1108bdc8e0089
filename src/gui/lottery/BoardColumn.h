#pragma once

#include <QWidget>

#include "core/lottery/PoolLayouts.h"
#include "core/rows/SelectionFile.h"
#include "gui/common/AppContext.h"
#include "gui/lottery/LotteryState.h"

class QLabel;
class QToolButton;
class QVBoxLayout;

namespace losfix {

class BoardPanel;
class RadioGroup;
class SelectionBar;

// The left column: pool size and row size, the number board with its picture and reset
// buttons, the selection bar, the legend and the two help texts.
class BoardColumn : public QWidget, private SelectionTarget {
    Q_OBJECT
public:
    BoardColumn(AppContext& context, LotteryState& state, ImageSession& images,
                QWidget* parent = nullptr);

    void StepStatus(int number, MouseStep step);
    void SetStatus(int number, NumberStatus status);
    void ResetStatuses();
    // Lays the board out for a pool size item (ApplyPoolSize).
    void ApplyPoolSize(int item);
    void CaptureBoard();

    int rowSizeItem() const;
    int poolItem() const;
    // Settings at start: a new pool item lays the board out.
    void setItems(int rowSizeItem, int poolItem);
    bool boardLaidOut() const { return boardLaidOut_; }
    SelectionBar* selectionBar() const { return selectionBar_; }

signals:
    // Statuses changed: the row table's colours and the run's ceiling follow.
    void statusesChanged();
    void rowSizeChanged();
    void poolLaidOut(const losfix::BoardGeometry& geometry);

private:
    // SelectionTarget: how a loaded selection reaches the board.
    void applyRowSizeItem(int item) override;
    void applyPoolItem(int item) override;
    int poolSize() const override;
    void applyStatus(int number, NumberStatus status) override;

    void buildLegend(QVBoxLayout* layout);

    AppContext& context_;
    LotteryState& state_;
    ImageSession& images_;
    bool boardLaidOut_ = false;

    RadioGroup* RG2 = nullptr;
    RadioGroup* RG1 = nullptr;
    BoardPanel* P4 = nullptr;
    SelectionBar* selectionBar_ = nullptr;
    QToolButton* BFoto = nullptr;
    QToolButton* BDel = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label6 = nullptr;
};

}  // namespace losfix
