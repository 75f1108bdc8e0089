#pragma once

#include <string>
#include <string_view>

#include "core/common/StringGrid.h"

namespace losfix {

// A row file: one comma line of 17 cells per data row, Windows-1252, CR LF after every line;
// no data rows gives an empty file.
std::string EncodeRowFile(const StringGrid& table);

// Replaces the data rows of the table by the file's lines (row count = lines + 1, header kept).
// An empty item becomes a single space; items beyond the 17th are dropped.
void DecodeRowFile(std::string_view bytes, StringGrid& table);

}  // namespace losfix
