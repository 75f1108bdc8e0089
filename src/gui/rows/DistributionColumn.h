#pragma once

#include <QWidget>

#include "core/lottery/PoolLayouts.h"
#include "gui/common/AppContext.h"
#include "gui/lottery/LotteryState.h"

class QToolButton;
class QVBoxLayout;

namespace losfix {

class CaptionButton;
class DistributionPanel;

// The right column: the number distribution with its two sort buttons and its picture button.
class DistributionColumn : public QWidget {
    Q_OBJECT
public:
    DistributionColumn(AppContext& context, const LotteryState& state, ImageSession& images,
                       QWidget* parent = nullptr);

    void SortByFrequency();
    void SortByNumber();
    void CaptureDistribution();

    // A new pool size: the frames are laid out anew in numeric order.
    void applyGeometry(const BoardGeometry& geometry);
    // Frames 1 to poolSize show the draw counts on their current status colours; the others keep
    // what they show.
    void refresh(int poolSize);
    // Before a run: numeric order, counts about to be zeroed.
    void prepareRun();
    // After a run: the counts may be sorted by frequency.
    void runEnded();
    // The lower part of the column, for panels added below the distribution.
    void addBelow(QWidget* widget);

private:
    AppContext& context_;
    const LotteryState& state_;
    ImageSession& images_;
    QVBoxLayout* layout_ = nullptr;

    DistributionPanel* P3 = nullptr;
    CaptionButton* BSortN = nullptr;
    CaptionButton* BSortH = nullptr;
    QToolButton* bsSkinSpeedButton15 = nullptr;
};

}  // namespace losfix
