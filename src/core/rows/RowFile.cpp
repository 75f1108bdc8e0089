#include "core/rows/RowFile.h"

#include <algorithm>
#include <vector>

#include "core/common/CommaLine.h"
#include "core/common/TextFile.h"
#include "core/lottery/RowTable.h"

namespace losfix {

std::string EncodeRowFile(const StringGrid& table) {
    std::vector<std::string> lines;
    for (int r = 1; r < table.rowCount(); ++r) {
        std::vector<std::string> cells(kRowTableColumns);
        for (int c = 0; c < kRowTableColumns; ++c) {
            cells[static_cast<std::size_t>(c)] = table.cell(c, r);
        }
        lines.push_back(WriteCommaLine(cells));
    }
    if (lines.empty()) {
        return {};
    }
    return WriteTextLines(lines);
}

void DecodeRowFile(std::string_view bytes, StringGrid& table) {
    const std::vector<std::string> lines = ReadTextLines(bytes);
    table.setRowCount(static_cast<int>(lines.size()) + 1);
    const int columns = std::min(kRowTableColumns, table.columnCount());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        table.clearRow(row);
        const std::vector<std::string> items = ReadCommaLine(lines[i]);
        const int used = std::min(columns, static_cast<int>(items.size()));
        for (int c = 0; c < used; ++c) {
            const std::string& item = items[static_cast<std::size_t>(c)];
            // An empty item still fills its cell, with a single space.
            table.setCell(c, row, item.empty() ? std::string(" ") : item);
        }
    }
}

}  // namespace losfix
