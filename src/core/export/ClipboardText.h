#pragma once

#include <string>

#include "core/common/StringGrid.h"

namespace losfix {

// How many columns the clipboard takes from every row: the consecutive non-empty cells of table
// row 1 from column 1 on, up to the table's last column (all 16 numbers of the row table).
int ClipboardColumnCount(const StringGrid& table);

// The table's data rows as plain text: one comma line per table row from row 1 on (empty rows
// included), each ending in CR LF. A lone empty item is written as two double quotes; when the
// first cell is empty every row gives an empty line.
std::string ClipboardText(const StringGrid& table);

}  // namespace losfix
