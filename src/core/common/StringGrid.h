#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

    // A copy of the cell's text: the grid keeps no string per cell, so there is nothing to refer
    // to. Short texts (numbers, labels) fit in the string itself and cost no allocation.
    std::string cell(int column, int row) const;
    // The same text as a view into the grid, for reading many cells quickly: valid only until the
    // grid changes, so never kept beyond the next edit.
    std::string_view cellView(int column, int row) const;
    void setCell(int column, int row, std::string text);

    std::vector<std::string> rowCells(int row) const;
    // The texts of the row's cells, one for each column, as views into the grid: valid only until
    // the grid changes. Reads a whole row at the cost of one cell.
    void cellViews(int row, std::vector<std::string_view>& views) const;
    // Replaces the row's cells; missing cells become empty, surplus ones are dropped.
    void setRowCells(int row, const std::vector<std::string>& cells);
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
    // The cells of one row as bytes: each cell up to the last non-empty one as its length (seven
    // bits a byte, low bits first, a set high bit announcing another byte) and its text. A row of
    // 16 numbers and its label takes about 60 bytes instead of 17 strings. The bytes lie in one
    // allocation behind their size and capacity; an empty row owns none. Copies are deep.
    class Row {
    public:
        Row() = default;
        Row(const Row& other) { assign(other.bytes()); }
        Row(Row&& other) noexcept : data_(other.data_) { other.data_ = nullptr; }
        Row& operator=(const Row& other);
        Row& operator=(Row&& other) noexcept;
        ~Row() { release(); }

        std::string_view bytes() const;
        // Keeps the storage when it is large enough, as assigning a vector does.
        void assign(std::string_view bytes);
        // Makes the row `size` bytes long, its old bytes lost, for the caller to write; null for 0.
        char* overwrite(std::size_t size);
        // Replaces `length` bytes at `at` by the two pieces; grows to at least `capacityHint`.
        void replace(std::size_t at, std::size_t length, std::string_view first,
                     std::string_view second, std::size_t capacityHint);
        // Drops the bytes from `size` on; keeps the storage.
        void truncate(std::size_t size);
        void release();
        void swap(Row& other) noexcept { std::swap(data_, other.data_); }

    private:
        std::size_t size() const;
        std::size_t capacity() const;
        char* text() const { return data_ + kHeader; }
        void reallocate(std::size_t capacity);

        static constexpr std::size_t kHeader = 2 * sizeof(std::size_t);
        char* data_ = nullptr;
    };

    bool inside(int column, int row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rowCount();
    }
    std::size_t rowCapacityHint() const;

    int columns_ = 0;
    int fixedColumns_ = 0;
    int fixedRows_ = 0;
    // A row holds its cells up to the last non-empty one; the cells after it are empty. An empty
    // row costs no storage, so a file of millions of empty lines does not take gigabytes.
    std::vector<Row> rows_;
    std::uint64_t revision_ = 0;
    // The row and column of the last cell written by setCell while the revision is still this.
    std::uint64_t lastCellRevision_ = ~std::uint64_t{0};
    int lastCellRow_ = -1;
    int lastCellColumn_ = -1;
};

}  // namespace losfix
