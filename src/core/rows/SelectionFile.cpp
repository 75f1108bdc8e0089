#include "core/rows/SelectionFile.h"

#include "core/common/Error.h"
#include "core/common/TextFile.h"

namespace losfix {

namespace {

constexpr std::size_t kRowSizeLine = 0;
constexpr std::size_t kPoolLine = 1;
constexpr std::size_t kFirstStatusLine = 2;

std::string RangeMessage(std::size_t index, const std::string& what) {
    return "Die Auswahl-Datei enthält ungültige Werte (Zeile " + std::to_string(index + 1) + ": " +
           what + ").";
}

std::string RowSizeProblem(int item) {
    return RangeMessage(kRowSizeLine,
                        "Anzahl der Zahlen pro Reihe, Eintrag " + std::to_string(item));
}

std::string PoolProblem(int item) {
    return RangeMessage(kPoolLine, "Größe der Zahlenmenge, Eintrag " + std::to_string(item));
}

std::string StatusProblem(std::size_t index, int code) {
    return RangeMessage(index, "Status " + std::to_string(code));
}

// The integer on a line as the program reads it.
int LineValue(const std::vector<std::string>& lines, std::size_t index) {
    if (index >= lines.size()) {
        throw Error(messages::ListIndexBeyondMaximum(static_cast<long long>(index)));
    }
    return StrToInt(lines[index]);
}

}  // namespace

std::string EncodeSelection(const Board& board) {
    std::vector<std::string> lines;
    lines.push_back(std::to_string(board.rowSizeItem()));
    lines.push_back(std::to_string(board.poolItem()));
    for (int n = 1; n <= board.poolSize(); ++n) {
        lines.push_back(std::to_string(static_cast<int>(board.status(n))));
    }
    return WriteTextLines(lines);
}

std::optional<std::string> SelectionRangeProblem(const std::vector<std::string>& lines) {
    int value = 0;
    // Stops where ApplySelection would stop: at a missing line or one that is no integer.
    if (lines.size() <= kRowSizeLine || !TryStrToInt(lines[kRowSizeLine], value)) {
        return std::nullopt;
    }
    if (value < 0 || value >= kRowSizeItemCount) {
        return RowSizeProblem(value);
    }
    if (lines.size() <= kPoolLine || !TryStrToInt(lines[kPoolLine], value)) {
        return std::nullopt;
    }
    if (value < 0 || value >= kPoolItemCount) {
        return PoolProblem(value);
    }
    const int poolSize = PoolSizeOfItem(value);
    for (int n = 1; n <= poolSize; ++n) {
        const std::size_t index = kFirstStatusLine + static_cast<std::size_t>(n - 1);
        if (index >= lines.size() || !TryStrToInt(lines[index], value)) {
            return std::nullopt;
        }
        if (!IsStatusCode(value)) {
            return StatusProblem(index, value);
        }
    }
    return std::nullopt;
}

void ApplySelection(const std::vector<std::string>& lines, SelectionTarget& target) {
    if (auto problem = SelectionRangeProblem(lines)) {
        throw Error(*problem);
    }
    // The checks below repeat the range rules for a target whose pool differs from the item's.
    const int rowSizeItem = LineValue(lines, kRowSizeLine);
    if (rowSizeItem < 0 || rowSizeItem >= kRowSizeItemCount) {
        throw Error(RowSizeProblem(rowSizeItem));
    }
    target.applyRowSizeItem(rowSizeItem);
    const int poolItem = LineValue(lines, kPoolLine);
    if (poolItem < 0 || poolItem >= kPoolItemCount) {
        throw Error(PoolProblem(poolItem));
    }
    target.applyPoolItem(poolItem);
    const int poolSize = target.poolSize();
    for (int n = 1; n <= poolSize; ++n) {
        const std::size_t index = kFirstStatusLine + static_cast<std::size_t>(n - 1);
        const int code = LineValue(lines, index);
        if (!IsStatusCode(code)) {
            throw Error(StatusProblem(index, code));
        }
        target.applyStatus(n, static_cast<NumberStatus>(code));
    }
}

std::string QuickSlotFileName(int slot) {
    return "Quick" + std::to_string(slot) + ".whl";
}

}  // namespace losfix
