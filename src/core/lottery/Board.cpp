#include "core/lottery/Board.h"

#include <algorithm>

namespace losfix {

namespace {

bool IsBoardNumber(int number) {
    return number >= 1 && number <= kMaxNumber;
}

std::size_t IndexOf(int number) {
    return static_cast<std::size_t>(number - 1);
}

}  // namespace

Board::Board() {
    resetStatuses();
}

NumberStatus Board::status(int number) const {
    return IsBoardNumber(number) ? statuses_[IndexOf(number)] : NumberStatus::Normal;
}

void Board::setStatus(int number, NumberStatus status) {
    // A code from a damaged selection file must not reach the drum.
    if (!IsBoardNumber(number) || !IsStatusCode(static_cast<int>(status))) {
        return;
    }
    statuses_[IndexOf(number)] = status;
}

NumberStatus Board::stepStatus(int number, MouseStep step) {
    if (!IsBoardNumber(number)) {
        return NumberStatus::Normal;
    }
    const int code = static_cast<int>(statuses_[IndexOf(number)]);
    const int bank = static_cast<int>(NumberStatus::Bank);
    int next = code;
    switch (step) {
        case MouseStep::Right:
            next = code == 0 ? bank : code - 1;
            break;
        case MouseStep::Left:
            next = code >= bank ? 0 : code + 1;
            break;
        case MouseStep::Middle:
            break;
    }
    statuses_[IndexOf(number)] = static_cast<NumberStatus>(next);
    return statuses_[IndexOf(number)];
}

void Board::resetStatuses() {
    statuses_.fill(NumberStatus::Normal);
}

void Board::setPoolItem(int item) {
    poolItem_ = std::clamp(item, 0, kPoolItemCount - 1);
}

void Board::setRowSizeItem(int item) {
    rowSizeItem_ = std::clamp(item, 0, kRowSizeItemCount - 1);
}

Drum BuildDrum(const std::array<NumberStatus, kMaxNumber>& statuses, int poolSize) {
    Drum drum;
    poolSize = std::clamp(poolSize, 0, kMaxNumber);
    for (int n = 1; n <= poolSize; ++n) {
        const NumberStatus status = statuses[IndexOf(n)];
        if (status == NumberStatus::Bank) {
            drum.bankers.add(n);
            ++drum.bankerCount;
            continue;
        }
        const int entries = DrumEntries(status);
        if (entries > 0) {
            drum.entries.insert(drum.entries.end(), static_cast<std::size_t>(entries), n);
            ++drum.distinctNumbers;
        }
    }
    return drum;
}

}  // namespace losfix
