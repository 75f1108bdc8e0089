// The grid sort on arbitrary grids and arguments, and the row table's sort with its undo.
//
// Input: a flags byte, a byte of fixed columns (bits 0-1), fixed rows (bits 2-3) and key count
// (bits 4-7), the first and the last row (signed bytes), two bytes per key (column, sort type),
// then the cells: rows separated by "\n", cells by ",".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Error.h"
#include "core/rows/GridSort.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;

namespace {

enum Flags : std::uint8_t {
    kAscending = 1,
    kIncludeFixedColumns = 2,
    kClampColumns = 4,
    kBlanksLast = 8,
    kExtremeBlankNumbers = 16,
    kExtraSortType = 32,
    kRowTable = 64,
};

constexpr int kMostColumns = 24;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string_view rest() const {
        return {reinterpret_cast<const char*>(data_ + pos_), size_ - std::min(pos_, size_)};
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::vector<std::vector<std::string>> Split(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::vector<std::string> cells;
        std::size_t cellStart = start;
        while (true) {
            const std::size_t comma = std::min(text.find(',', cellStart), end);
            cells.emplace_back(text.substr(cellStart, comma - cellStart));
            if (comma == end) {
                break;
            }
            cellStart = comma + 1;
        }
        rows.push_back(std::move(cells));
        start = end + 1;
    }
    return rows;
}

StringGrid MakeGrid(const std::vector<std::vector<std::string>>& rows, int columns,
                    int fixedColumns, int fixedRows) {
    StringGrid grid(columns, static_cast<int>(rows.size()), fixedColumns, fixedRows);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        grid.setRowCells(static_cast<int>(r), rows[r]);
    }
    return grid;
}

std::vector<std::string> Slice(const StringGrid& grid, int row, int fromColumn) {
    std::vector<std::string> cells = grid.rowCells(row);
    cells.erase(cells.begin(), cells.begin() + std::min<std::ptrdiff_t>(
                                                   std::max(fromColumn, 0),
                                                   static_cast<std::ptrdiff_t>(cells.size())));
    return cells;
}

// What may change: the order of the rows firstRow..lastRow from the lowest sorted column on.
void CheckOnlyRowsMoved(const StringGrid& before, const StringGrid& after, int first, int last,
                        int lowestColumn) {
    FUZZ_CHECK(after.rowCount() == before.rowCount());
    FUZZ_CHECK(after.columnCount() == before.columnCount());
    std::vector<std::vector<std::string>> moved;
    std::vector<std::vector<std::string>> original;
    for (int r = 0; r < before.rowCount(); ++r) {
        for (int c = 0; c < std::min(lowestColumn, before.columnCount()); ++c) {
            FUZZ_CHECK(after.cell(c, r) == before.cell(c, r));
        }
        if (r < first || r > last) {
            FUZZ_CHECK(after.rowCells(r) == before.rowCells(r));
        } else {
            moved.push_back(Slice(after, r, lowestColumn));
            original.push_back(Slice(before, r, lowestColumn));
        }
    }
    std::sort(moved.begin(), moved.end());
    std::sort(original.begin(), original.end());
    FUZZ_CHECK(moved == original);
}

void SortRowTableAndUndo(const std::vector<std::vector<std::string>>& rows, int keySize,
                         const SortLocale& locale) {
    const StringGrid original = MakeGrid(rows, 17, 1, 1);
    StringGrid table = original;
    StringGrid backup;
    try {
        SortRowTable(table, keySize, backup, locale);
    } catch (const Error&) {
    }
    CheckOnlyRowsMoved(original, table, 1, table.rowCount() - 1, 1);
    UndoRowTableSort(table, backup);
    FUZZ_CHECK(table == original);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto locale = MakeGermanSortLocale();
    Input input(data, size);
    const std::uint8_t flags = input.byte();
    const std::uint8_t shape = input.byte();
    GridSortArgs args;
    args.firstRow = static_cast<std::int8_t>(input.byte());
    args.lastRow = static_cast<std::int8_t>(input.byte());
    const int keys = shape >> 4;
    for (int k = 0; k < keys; ++k) {
        args.keyColumns.push_back(input.byte());
        args.sortTypes.push_back(input.byte() % 4);
    }
    if ((flags & kExtraSortType) != 0) {
        args.sortTypes.push_back(0);
    }
    args.ascending = (flags & kAscending) != 0;
    args.includeFixedColumns = (flags & kIncludeFixedColumns) != 0;
    args.clampColumns = (flags & kClampColumns) != 0;
    args.blanksLast = (flags & kBlanksLast) != 0;
    args.extremeBlankNumbers = (flags & kExtremeBlankNumbers) != 0;

    const auto rows = Split(input.rest());
    if ((flags & kRowTable) != 0) {
        SortRowTableAndUndo(rows, keys, *locale);
        return 0;
    }
    std::size_t columns = 0;
    for (const auto& row : rows) {
        columns = std::max(columns, row.size());
    }
    const StringGrid original = MakeGrid(rows, std::min(static_cast<int>(columns), kMostColumns),
                                         shape & 3, (shape >> 2) & 3);
    StringGrid grid = original;
    const int lowestColumn = args.includeFixedColumns ? 0 : original.fixedColumns();
    try {
        GridSort(grid, args, *locale);
    } catch (const Error&) {
        CheckOnlyRowsMoved(original, grid, args.firstRow, args.lastRow, lowestColumn);
        return 0;
    }
    CheckOnlyRowsMoved(original, grid, args.firstRow, args.lastRow, lowestColumn);

    // Sorted rows stay as they are when sorted again.
    StringGrid again = grid;
    try {
        GridSort(again, args, *locale);
    } catch (const Error&) {
    }
    FUZZ_CHECK(again == grid);
    return 0;
}
