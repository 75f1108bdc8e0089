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
    rows = std::max(rows, 0);
    const int old = rowCount();
    rows_.resize(static_cast<std::size_t>(rows));
    for (int r = old; r < rows; ++r) {
        rows_[static_cast<std::size_t>(r)].assign(static_cast<std::size_t>(columns_),
                                                  std::string());
    }
    ++revision_;
}

void StringGrid::setColumnCount(int columns) {
    columns_ = std::max(columns, 0);
    for (auto& row : rows_) {
        row.resize(static_cast<std::size_t>(columns_));
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
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void StringGrid::setCell(int column, int row, std::string text) {
    if (!inside(column, row)) {
        return;
    }
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
    ++revision_;
}

std::vector<std::string> StringGrid::rowCells(int row) const {
    if (row < 0 || row >= rowCount()) {
        return std::vector<std::string>(static_cast<std::size_t>(columns_));
    }
    return rows_[static_cast<std::size_t>(row)];
}

void StringGrid::setRowCells(int row, std::vector<std::string> cells) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    cells.resize(static_cast<std::size_t>(columns_));
    rows_[static_cast<std::size_t>(row)] = std::move(cells);
    ++revision_;
}

void StringGrid::clearRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    for (auto& text : rows_[static_cast<std::size_t>(row)]) {
        text.clear();
    }
    ++revision_;
}

void StringGrid::swapRows(int rowA, int rowB, int fromColumn) {
    if (rowA < 0 || rowB < 0 || rowA >= rowCount() || rowB >= rowCount() || rowA == rowB) {
        return;
    }
    auto& a = rows_[static_cast<std::size_t>(rowA)];
    auto& b = rows_[static_cast<std::size_t>(rowB)];
    for (int c = std::max(fromColumn, 0); c < columns_; ++c) {
        std::swap(a[static_cast<std::size_t>(c)], b[static_cast<std::size_t>(c)]);
    }
    ++revision_;
}

void StringGrid::permuteRows(int firstRow, const std::vector<int>& order, int fromColumn) {
    // Whole rows move (no cell is copied); the cells before fromColumn go back to their place.
    const auto from = static_cast<std::size_t>(std::clamp(fromColumn, 0, columns_));
    const auto first = static_cast<std::size_t>(firstRow);
    std::vector<std::string> staying(order.size() * from);
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t c = 0; c < from; ++c) {
            staying[i * from + c] = std::move(rows_[first + i][c]);
        }
    }
    std::vector<std::vector<std::string>> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        moved[i] = std::move(rows_[static_cast<std::size_t>(order[i])]);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        rows_[first + i] = std::move(moved[i]);
        for (std::size_t c = 0; c < from; ++c) {
            rows_[first + i][c] = std::move(staying[i * from + c]);
        }
    }
    ++revision_;
}

bool StringGrid::operator==(const StringGrid& other) const {
    return columns_ == other.columns_ && fixedColumns_ == other.fixedColumns_ &&
           fixedRows_ == other.fixedRows_ && rows_ == other.rows_;
}

}  // namespace losfix
