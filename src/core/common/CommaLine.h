#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace losfix {

// Writes texts as one comma-separated line; a text containing a blank, a control character
// (U+0001..U+001F), a double quote or a comma is enclosed in double quotes with inner quotes
// doubled. An empty text contributes nothing between its commas.
std::string WriteCommaLine(const std::vector<std::string>& items);
std::string WriteCommaLineOfViews(std::span<const std::string_view> items);

// Reads a comma line: white space (U+0001..U+0020) separates like a comma, a quoted item runs to
// the next undoubled quote. A quote that is never closed takes the rest of the line as its item.
// Reading stops after maxItems items, so that a caller that keeps only the first few does not
// build the rest of a huge line.
std::vector<std::string> ReadCommaLine(std::string_view line,
                                       std::size_t maxItems = static_cast<std::size_t>(-1));

}  // namespace losfix
