#include "gui/rows/DistributionPanel.h"

#include <QPalette>
#include <algorithm>

#include "core/rows/Distribution.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

// Hides the panel and stops its painting while frames move, so that it repaints once; restores
// the panel's own visibility afterwards.
class MovingFrames {
public:
    explicit MovingFrames(QWidget* panel) : panel_(panel), wasHidden_(panel->isHidden()) {
        panel_->setUpdatesEnabled(false);
        panel_->hide();
    }
    ~MovingFrames() {
        panel_->setUpdatesEnabled(true);
        if (!wasHidden_) {
            panel_->show();
        }
    }
    MovingFrames(const MovingFrames&) = delete;
    MovingFrames& operator=(const MovingFrames&) = delete;

private:
    QWidget* panel_;
    bool wasHidden_;
};

}  // namespace

DistributionPanel::DistributionPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("P3"));
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::StyledPanel);
    SetPanelBackground(this);
    setAccessibleName(QStringLiteral("Verteilung"));
    for (int n = 1; n <= kMaxNumber; ++n) {
        auto* frame = new TFfrStat(n, this);
        frame->hide();
        frames_[static_cast<std::size_t>(n - 1)] = frame;
    }
}

TFfrStat* DistributionPanel::frame(int number) const {
    if (number < 1 || number > kMaxNumber) {
        return nullptr;
    }
    return frames_[static_cast<std::size_t>(number - 1)];
}

void DistributionPanel::applyGeometry(const BoardGeometry& geometry) {
    MovingFrames moving(this);
    for (auto* frame : frames_) {
        frame->hide();
    }
    positions_.clear();
    const std::size_t count = std::min(geometry.frames.size(), frames_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const Rect& r = geometry.frames[i];
        positions_.emplace_back(r.left, r.top);
        frames_[i]->move(r.left, r.top);
        frames_[i]->show();
    }
    poolCount_ = static_cast<int>(count);
    frequencyOrder_ = false;
}

void DistributionPanel::refresh(const DrawCounts& counts,
                                const std::array<NumberStatus, kMaxNumber>& statuses,
                                int poolSize) {
    const int n = std::clamp(poolSize, 0, kMaxNumber);
    for (int k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        frames_[i]->showCount(counts[i], statuses[i]);
    }
}

void DistributionPanel::sortByFrequency(const DrawCounts& counts) {
    const std::vector<int> order = FrequencyOrderOf(counts, poolCount_);
    {
        MovingFrames moving(this);
        for (std::size_t slot = 0; slot < order.size() && slot < positions_.size(); ++slot) {
            frames_[static_cast<std::size_t>(order[slot] - 1)]->move(positions_[slot]);
        }
    }
    frequencyOrder_ = true;
}

void DistributionPanel::sortByNumber() {
    {
        MovingFrames moving(this);
        for (std::size_t i = 0; i < positions_.size(); ++i) {
            frames_[i]->move(positions_[i]);
        }
    }
    frequencyOrder_ = false;
}

}  // namespace losfix
