#pragma once

#include "core/common/PadLabel.h"
#include "core/common/StringGrid.h"

namespace losfix {

// The row table: 17 columns (label + 16 numbers), header row 0 and label column 0 fixed.
constexpr int kRowTableColumns = 17;
constexpr int kRowTableInitialRows = 55;  // header and 54 empty rows before the first run
constexpr int kLabelColumnWidth = 44;
constexpr int kNumberColumnWidth = 24;
constexpr int kRowTableRowHeight = 16;

// An empty row table of 55 rows with its header written.
StringGrid MakeRowTable(const TextMeasure& measure);

// Row 0: "Reihe" and the column numbers 1..16, each padded for its column width.
void WriteRowTableHeader(StringGrid& table, const TextMeasure& measure);

// The label of data row r, padded for column 0.
std::string RowLabel(int row, const TextMeasure& measure);

// The number a cell shows, or 0 when its trimmed text is not an integer from 1 to 90
// (such cells are painted white).
int CellNumber(std::string_view text);

}  // namespace losfix
