#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text helpers shared by the lottery and the football evaluation.
namespace losfix::eval {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text without blanks, tabs and line ends at either end.
std::string_view Trimmed(std::string_view text);

// An entry from the user or a file, quoted for a message and shortened when long.
std::string Quoted(std::string_view text);

// "1 Reihe", "0 Reihen", "1.234 Reihen".
std::string RowsText(std::uint64_t rows);

}  // namespace losfix::eval
