#include "core/common/StringGrid.h"

#include <algorithm>
#include <utility>

namespace losfix {

namespace {
const std::string kEmpty;
}

StringGrid::StringGrid(int columns, int rows, int fixedColumns, int fixedRows)
    : columns_(std::max(columns, 0)), fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    setRowCount(rows);
}

void StringGrid::setRowCount(int rows) {
    rows_.resize(static_cast<std::size_t>(std::max(rows, 0)));
    ++revision_;
}

void StringGrid::setColumnCount(int columns) {
    columns_ = std::max(columns, 0);
    for (auto& row : rows_) {
        if (row.size() > static_cast<std::size_t>(columns_)) {
            row.resize(static_cast<std::size_t>(columns_));
        }
    }
    ++revision_;
}

void StringGrid::setFixed(int fixedColumns, int fixedRows) {
    fixedColumns_ = fixedColumns;
    fixedRows_ = fixedRows;
    ++revision_;
}

const std::string& StringGrid::cell(int column, int row) const {
    if (!inside(column, row)) {
        return kEmpty;
    }
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    const auto index = static_cast<std::size_t>(column);
    return index < cells.size() ? cells[index] : kEmpty;
}

void StringGrid::setCell(int column, int row, std::string text) {
    if (!inside(column, row)) {
        return;
    }
    auto& cells = rows_[static_cast<std::size_t>(row)];
    const auto index = static_cast<std::size_t>(column);
    if (index >= cells.size()) {
        if (text.empty()) {
            ++revision_;
            return;
        }
        // One allocation for a row written cell by cell.
        cells.reserve(static_cast<std::size_t>(columns_));
        cells.resize(index + 1);
    }
    cells[index] = std::move(text);
    ++revision_;
}

std::vector<std::string> StringGrid::rowCells(int row) const {
    std::vector<std::string> cells;
    if (row >= 0 && row < rowCount()) {
        cells = rows_[static_cast<std::size_t>(row)];
    }
    cells.resize(static_cast<std::size_t>(columns_));
    return cells;
}

void StringGrid::setRowCells(int row, std::vector<std::string> cells) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    if (cells.size() > static_cast<std::size_t>(columns_)) {
        cells.resize(static_cast<std::size_t>(columns_));
    }
    while (!cells.empty() && cells.back().empty()) {
        cells.pop_back();
    }
    rows_[static_cast<std::size_t>(row)] = std::move(cells);
    ++revision_;
}

void StringGrid::copyRow(const StringGrid& source, int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    auto& cells = rows_[static_cast<std::size_t>(row)];
    if (row < source.rowCount()) {
        // Assigning keeps this row's storage when it is large enough.
        cells = source.rows_[static_cast<std::size_t>(row)];
        if (cells.size() > static_cast<std::size_t>(columns_)) {
            cells.resize(static_cast<std::size_t>(columns_));
        }
    } else {
        cells.clear();
    }
    ++revision_;
}

void StringGrid::clearRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    std::vector<std::string>().swap(rows_[static_cast<std::size_t>(row)]);
    ++revision_;
}

void StringGrid::swapRows(int rowA, int rowB, int fromColumn) {
    if (rowA < 0 || rowB < 0 || rowA >= rowCount() || rowB >= rowCount() || rowA == rowB) {
        return;
    }
    auto& a = rows_[static_cast<std::size_t>(rowA)];
    auto& b = rows_[static_cast<std::size_t>(rowB)];
    if (fromColumn <= 0) {
        a.swap(b);
    } else {
        const std::size_t used = std::max(a.size(), b.size());
        a.resize(used);
        b.resize(used);
        for (auto c = static_cast<std::size_t>(fromColumn); c < used; ++c) {
            a[c].swap(b[c]);
        }
    }
    ++revision_;
}

void StringGrid::permuteRows(int firstRow, const std::vector<int>& order, int fromColumn) {
    // Whole rows move (no cell is copied); the cells before fromColumn go back to their place.
    // Rows hold only the cells written so far, so any of them may be shorter than fromColumn.
    const auto from = static_cast<std::size_t>(std::clamp(fromColumn, 0, columns_));
    const auto first = static_cast<std::size_t>(firstRow);
    std::vector<std::string> staying(order.size() * from);
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto& row = rows_[first + i];
        for (std::size_t c = 0; c < from && c < row.size(); ++c) {
            staying[i * from + c] = std::move(row[c]);
        }
    }
    std::vector<std::vector<std::string>> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        moved[i] = std::move(rows_[static_cast<std::size_t>(order[i])]);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto& row = rows_[first + i];
        row = std::move(moved[i]);
        if (row.size() < from) {
            row.resize(from);
        }
        for (std::size_t c = 0; c < from; ++c) {
            row[c] = std::move(staying[i * from + c]);
        }
        while (!row.empty() && row.back().empty()) {
            row.pop_back();
        }
    }
    ++revision_;
}

bool StringGrid::operator==(const StringGrid& other) const {
    if (columns_ != other.columns_ || fixedColumns_ != other.fixedColumns_ ||
        fixedRows_ != other.fixedRows_ || rowCount() != other.rowCount()) {
        return false;
    }
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columns_; ++c) {
            if (cell(c, r) != other.cell(c, r)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace losfix
