#include "core/football/TipTable.h"

#include <algorithm>

#include "core/common/CommaLine.h"

namespace losfix {

namespace {

constexpr const char* kLabelHeader = "Reihe";
constexpr const char* kMatrixCorner = "1 0 2";

void WriteMatchHeader(StringGrid& grid, const TextMeasure& measure) {
    for (int match = 1; match <= kMatchCount; ++match) {
        grid.setCell(match, 0, PadLabel(std::to_string(match), kTipMatchColumnWidth, measure));
    }
}

}  // namespace

StringGrid MakeTipTable(const TextMeasure& measure) {
    StringGrid table(kTipTableColumns, kTipTableInitialRows, 1, 1);
    table.setCell(0, 0, PadLabel(kLabelHeader, kTipLabelColumnWidth, measure));
    WriteMatchHeader(table, measure);
    return table;
}

StringGrid MakeOutcomeMatrix(const TextMeasure& measure) {
    StringGrid matrix(kTipTableColumns, kOutcomeMatrixRows, 1, 1);
    matrix.setCell(0, 0, PadLabel(kMatrixCorner, kTipLabelColumnWidth, measure));
    WriteMatchHeader(matrix, measure);
    for (int row = 1; row <= kOutcomesPerMatch; ++row) {
        // Position p of a match stands in matrix row p.
        matrix.setCell(0, row, PadLabel(OutcomeText(row), kTipLabelColumnWidth, measure));
    }
    return matrix;
}

std::string TipRowLabel(int row, const TextMeasure& measure) {
    return PadLabel(std::to_string(row), kTipRowLabelWidth, measure);
}

void WriteOutcomeMatrix(StringGrid& matrix, const OutcomeCounts& counts) {
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int row = 1; row <= kOutcomesPerMatch; ++row) {
            const int count =
                counts[static_cast<std::size_t>(match - 1)][static_cast<std::size_t>(row - 1)];
            matrix.setCell(match, row, count == 0 ? std::string() : std::to_string(count));
        }
    }
}

Rgb OutcomeMatrixColour(const TipStatuses& statuses, int column, int row) {
    if (column < 1 || column > kMatchCount || row < 1 || row > kOutcomesPerMatch) {
        return kTipCellColour;
    }
    return TipStatusColour(statuses[static_cast<std::size_t>(OutcomeSlot(column, row) - 1)]);
}

std::vector<std::string> TipRowLines(const StringGrid& table) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(table.rowCount() - 1, 0)));
    std::vector<std::string_view> row;
    std::vector<std::string_view> cells(kMatchCount);
    for (int r = 1; r < table.rowCount(); ++r) {
        table.cellViews(r, row);
        row.resize(kMatchCount + 1);
        std::copy(row.begin() + 1, row.end(), cells.begin());
        lines.push_back(WriteCommaLineOfViews(cells));
    }
    return lines;
}

std::string TipRowClipboardText(const StringGrid& table) {
    std::string text;
    for (const std::string& line : TipRowLines(table)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace losfix
