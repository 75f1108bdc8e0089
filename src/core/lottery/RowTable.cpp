#include "core/lottery/RowTable.h"

#include <string>

namespace losfix {

namespace {

constexpr const char* kLabelHeader = "Reihe";

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

StringGrid MakeRowTable(const TextMeasure& measure) {
    StringGrid table(kRowTableColumns, kRowTableInitialRows, 1, 1);
    WriteRowTableHeader(table, measure);
    return table;
}

void WriteRowTableHeader(StringGrid& table, const TextMeasure& measure) {
    table.setCell(0, 0, PadLabel(kLabelHeader, kLabelColumnWidth, measure));
    for (int c = 1; c < kRowTableColumns; ++c) {
        table.setCell(c, 0, PadLabel(std::to_string(c), kNumberColumnWidth, measure));
    }
}

std::string RowLabel(int row, const TextMeasure& measure) {
    return PadLabel(std::to_string(row), kLabelColumnWidth, measure);
}

int CellNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
        if (value > 90) {
            // More digits only make it larger.
            return 0;
        }
    }
    return value >= 1 ? value : 0;
}

}  // namespace losfix
