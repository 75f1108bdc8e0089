#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace losfix {

// An error whose message is the German text shown to the user in the standard error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The runtime's German messages, with their placeholders filled in.
namespace messages {
// Text read from a file, as a message quotes it: the first 40 characters and "…" when it is
// longer, since a message box lays out a quoted line of megabytes for minutes.
constexpr std::size_t kExcerptCharacters = 40;
std::string Excerpt(std::string_view text, std::size_t characters = kExcerptCharacters);
// "''%s'' ist kein gültiger Integer-Wert", the text shortened to an excerpt
std::string NotAnInteger(std::string_view text);
// "Datei %s kann nicht geöffnet werden. %s"
std::string CannotOpen(std::string_view path, std::string_view systemText);
// "Datei \"%s\" kann nicht erstellt werden. %s"
std::string CannotCreate(std::string_view path, std::string_view systemText);
// "Listenindex überschreitet das Maximum (%d)"
std::string ListIndexBeyondMaximum(long long index);
// "In %s kann nicht geschrieben werden"
std::string CannotWrite(std::string_view path);
}  // namespace messages

// The text of the standard error box: a full stop is appended when the last character's code is
// above that of the full stop.
std::string ErrorBoxText(std::string_view message);

// Reads a whole text as an integer the way the runtime does (optional blanks before, a sign,
// decimal digits or a "$", "0x" or "0X" hex prefix); anything else throws Error(NotAnInteger).
int StrToInt(std::string_view text);

// The same without throwing: false when the text is not an integer.
bool TryStrToInt(std::string_view text, int& value);

}  // namespace losfix
