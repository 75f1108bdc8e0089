#pragma once

#include <array>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/lottery/NumberStatus.h"
#include "core/lottery/PoolLayouts.h"

namespace losfix {

enum class MouseStep { Left, Right, Middle };

// What the user says the generator may draw from: the statuses of the numbers 1 to 90, the pool
// size item and the row size item. Statuses of numbers above the pool size keep their values.
class Board {
public:
    Board();

    NumberStatus status(int number) const;  // Normal outside 1..90
    void setStatus(int number, NumberStatus status);
    // Left steps forward (Bank wraps to Normal), right steps back (Normal wraps to Bank),
    // middle keeps the status. Returns the new status.
    NumberStatus stepStatus(int number, MouseStep step);
    void resetStatuses();

    int poolItem() const { return poolItem_; }
    int rowSizeItem() const { return rowSizeItem_; }
    void setPoolItem(int item);     // clamped to 0..11
    void setRowSizeItem(int item);  // clamped to 0..13
    int poolSize() const { return PoolSizeOfItem(poolItem_); }
    int rowSize() const { return RowSizeOfItem(rowSizeItem_); }

    const std::array<NumberStatus, kMaxNumber>& statuses() const { return statuses_; }

private:
    std::array<NumberStatus, kMaxNumber> statuses_{};
    int poolItem_ = kDefaultPoolItem;
    int rowSizeItem_ = kDefaultRowSizeItem;
};

// The draw drum: favoured numbers several times, in ascending order; bankers apart.
struct Drum {
    std::vector<int> entries;
    NumberSet bankers;
    int bankerCount = 0;
    int distinctNumbers = 0;  // numbers with at least one drum entry
};

// Only the numbers 1 to poolSize take part.
Drum BuildDrum(const std::array<NumberStatus, kMaxNumber>& statuses, int poolSize);

}  // namespace losfix
