#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace losfix {

// Decodes file bytes to UTF-8 text: a BOM selects UTF-8 (EF BB BF), UTF-16 LE (FF FE) or
// UTF-16 BE (FE FF); without one the bytes are Windows-1252.
std::string DecodeText(std::string_view bytes);

// Splits text at CR LF, LF or CR; a break at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The same line by line, without holding the lines: calls visit for each and returns how many
// there were.
std::size_t ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit);

// DecodeText then SplitLines: how every text file of the program is read.
std::vector<std::string> ReadTextLines(std::string_view bytes);

// Encodes UTF-8 lines as Windows-1252 with CR LF after every line, the last included.
// Characters that Windows-1252 cannot hold become "?". Text whose Windows-1252 bytes would
// begin like a byte-order mark is written as UTF-8 with a byte-order mark instead, so that it
// reads back unchanged.
std::string WriteTextLines(const std::vector<std::string>& lines);
// The same for lines held elsewhere.
std::string WriteTextLineViews(const std::vector<std::string_view>& lines);

std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace losfix
