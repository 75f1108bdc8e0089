#include "core/rows/RowFile.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/common/CommaLine.h"
#include "core/common/TextFile.h"
#include "core/lottery/RowTable.h"

namespace losfix {

std::string EncodeRowFile(const StringGrid& table) {
    std::vector<std::string> lines;
    std::vector<std::string_view> cells;
    for (int r = 1; r < table.rowCount(); ++r) {
        table.cellViews(r, cells);
        cells.resize(kRowTableColumns);
        lines.push_back(WriteCommaLineOfViews(cells));
    }
    if (lines.empty()) {
        return {};
    }
    return WriteTextLines(lines);
}

void DecodeRowFile(std::string_view bytes, StringGrid& table) {
    const std::string text = DecodeText(bytes);
    // Line by line, and only the cells a row keeps: a damaged or foreign file of megabytes must
    // not take gigabytes.
    const std::size_t lines = ForEachLine(text, [](std::string_view) {});
    // More lines than a grid has rows would take hundreds of gigabytes first; it only keeps the
    // arithmetic defined.
    const auto mostRows = static_cast<std::size_t>(std::numeric_limits<int>::max() - 1);
    table.setRowCount(static_cast<int>(std::min(lines, mostRows)) + 1);
    const auto columns = static_cast<std::size_t>(std::min(kRowTableColumns, table.columnCount()));
    std::size_t row = 0;
    ForEachLine(text, [&](std::string_view line) {
        if (++row > mostRows) {
            return;
        }
        std::vector<std::string> items = ReadCommaLine(line, columns);
        for (std::string& item : items) {
            // An empty item still fills its cell, with a single space.
            if (item.empty()) {
                item.push_back(' ');
            }
        }
        table.setRowCells(static_cast<int>(row), std::move(items));
    });
}

}  // namespace losfix
