#include "core/export/ClipboardText.h"

#include <vector>

#include "core/common/CommaLine.h"

namespace losfix {

int ClipboardColumnCount(const StringGrid& table) {
    int n = 0;
    while (n + 1 < table.columnCount() && !table.cell(n + 1, 1).empty()) {
        ++n;
    }
    return n;
}

std::string ClipboardText(const StringGrid& table) {
    const int n = ClipboardColumnCount(table);
    std::string text;
    std::vector<std::string_view> cells;
    std::vector<std::string_view> items(static_cast<std::size_t>(n));
    for (int r = 1; r < table.rowCount(); ++r) {
        table.cellViews(r, cells);
        for (int c = 1; c <= n; ++c) {
            items[static_cast<std::size_t>(c - 1)] = cells[static_cast<std::size_t>(c)];
        }
        // A line of nothing would not tell a pasting program that the row has one empty cell.
        if (n == 1 && items.front().empty()) {
            text += "\"\"";
        } else {
            text += WriteCommaLineOfViews(items);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace losfix
