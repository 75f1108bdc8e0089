#pragma once

#include <QFrame>
#include <QPoint>
#include <array>
#include <vector>

#include "core/lottery/PoolLayouts.h"
#include "core/lottery/RowGenerator.h"
#include "gui/rows/TFfrStat.h"

namespace losfix {

// The distribution panel P3 (428 x 306) with the 90 frames "frs1".."frs90".
// The buttons BSortN/BSortH belong to the main window, which sets their states.
class DistributionPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 428;
    static constexpr int kHeight = 306;

    explicit DistributionPanel(QWidget* parent = nullptr);

    TFfrStat* frame(int number) const;
    int poolCount() const { return poolCount_; }
    bool frequencyOrder() const { return frequencyOrder_; }
    // FramePositions: slot k (1..N) at element k - 1.
    const std::vector<QPoint>& framePositions() const { return positions_; }

    // Hides the panel and every frame, places frames 1..N on the grid and records their
    // numeric-order positions, shows them; clears FrequencyOrder. Captions and colours are kept.
    void applyGeometry(const BoardGeometry& geometry);
    // RefreshDistribution: frames 1..N show their draw counts on their current status colours.
    void refresh(const DrawCounts& counts, const std::array<NumberStatus, kMaxNumber>& statuses,
                 int poolSize);
    // SortByFrequency / SortByNumber on the frames of the pool; the panel repaints once.
    void sortByFrequency(const DrawCounts& counts);
    void sortByNumber();

private:
    std::array<TFfrStat*, kMaxNumber> frames_{};
    std::vector<QPoint> positions_;
    int poolCount_ = 0;
    bool frequencyOrder_ = false;
};

}  // namespace losfix
