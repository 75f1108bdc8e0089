#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace losfix {

// Rows x columns of text with leading fixed rows and columns; the row table, the sort backup and
// the football grids are all string grids. Cells are addressed (column, row) as in the windows.
// Reading a cell outside the grid gives the empty text; writing outside it is ignored.
class StringGrid {
public:
    StringGrid() = default;
    StringGrid(int columns, int rows, int fixedColumns = 0, int fixedRows = 0);

    int columnCount() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int fixedColumns() const { return fixedColumns_; }
    int fixedRows() const { return fixedRows_; }

    // New rows are empty; removed rows are gone.
    void setRowCount(int rows);
    void setColumnCount(int columns);
    void setFixed(int fixedColumns, int fixedRows);

    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, std::string text);

    std::vector<std::string> rowCells(int row) const;
    // Replaces the row's cells; missing cells become empty, surplus ones are dropped.
    void setRowCells(int row, std::vector<std::string> cells);
    void clearRow(int row);
    // Row `row` takes the cells of the same row of `source` (cut to this grid's columns).
    void copyRow(const StringGrid& source, int row);
    // Exchanges the cells of two rows from fromColumn to the last column.
    void swapRows(int rowA, int rowB, int fromColumn = 0);
    // Row firstRow + i takes the cells (from fromColumn on) that row order[i] holds now; order
    // is a permutation of firstRow .. firstRow + order.size() - 1.
    void permuteRows(int firstRow, const std::vector<int>& order, int fromColumn = 0);

    // Counts every change, so that a view can tell whether it must repaint.
    std::uint64_t revision() const { return revision_; }

    bool operator==(const StringGrid& other) const;

private:
    bool inside(int column, int row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rowCount();
    }

    int columns_ = 0;
    int fixedColumns_ = 0;
    int fixedRows_ = 0;
    // A row holds its cells up to the last one written; the cells after it are empty. An empty
    // row costs no cells, so a file of millions of empty lines does not take gigabytes.
    std::vector<std::vector<std::string>> rows_;
    std::uint64_t revision_ = 0;
};

}  // namespace losfix
