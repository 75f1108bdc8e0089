#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/lottery/Board.h"

namespace losfix {

// A selection file: the row size item, the pool size item, then the status codes of 1..N,
// one integer a line, Windows-1252, CR LF after every line.
std::string EncodeSelection(const Board& board);

// Why the lines of a selection file must not be applied, or nothing: an item index or status
// code out of range. Lines that are not integers are left to ApplySelection, which reports them;
// lines after the first such line, or after the pool's last status, are not looked at.
std::optional<std::string> SelectionRangeProblem(const std::vector<std::string>& lines);

// Where a selection is applied: the main window's choices and board.
struct SelectionTarget {
    virtual ~SelectionTarget() = default;
    virtual void applyRowSizeItem(int item) = 0;
    virtual void applyPoolItem(int item) = 0;
    virtual int poolSize() const = 0;
    virtual void applyStatus(int number, NumberStatus status) = 0;
};

// Applies the lines step by step as the program does: row size item, pool size item (through
// applyPoolItem, which lays the board out when the item changes), then the statuses of 1..N.
// A range problem (SelectionRangeProblem) throws Error before anything is applied. Otherwise it
// throws Error(NotAnInteger) for a line that is no integer and Error(ListIndexBeyondMaximum) for
// a missing line; what was applied before stays applied. Expects the statuses already reset.
void ApplySelection(const std::vector<std::string>& lines, SelectionTarget& target);

// The file name of quick slot s (1..3): "Quick<s>.whl".
std::string QuickSlotFileName(int slot);

}  // namespace losfix
