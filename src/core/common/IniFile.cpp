#include "core/common/IniFile.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/common/Error.h"
#include "core/common/TextFile.h"

namespace losfix {

namespace {

// The blanks the private-profile functions trim around names and values (0x1A included).
bool IsIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsIniSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsIniSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// "[Name]" gives Name; the last "]" closes the name, as the system functions read it.
std::optional<std::string_view> SectionHeader(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || close == 0) {
        return std::nullopt;
    }
    return Trim(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// "Key=Value": the value is everything after the first "=", both trimmed; ";" starts a comment.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';') {
        return std::nullopt;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

// Where a key stands in the lines: only the first section of the name counts, and in it the
// first line of the key.
struct Location {
    std::optional<std::size_t> section;
    std::optional<std::size_t> keyLine;
    std::size_t lastContent = 0;  // last non-blank line of the section
    std::string keyName;          // as spelt in the file
    std::string value;
};

Location Locate(const std::vector<std::string>& lines, std::string_view section,
                std::string_view key) {
    Location where;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto header = SectionHeader(lines[i])) {
            if (where.section) {
                break;
            }
            if (EqualsIgnoringCase(*header, section)) {
                where.section = i;
                where.lastContent = i;
            }
            continue;
        }
        if (!where.section) {
            continue;
        }
        if (!Trim(lines[i]).empty()) {
            where.lastContent = i;
        }
        if (!where.keyLine) {
            if (const auto entry = ParseKeyLine(lines[i]);
                entry && EqualsIgnoringCase(entry->key, key)) {
                where.keyLine = i;
                where.keyName = std::string(entry->key);
                where.value = std::string(entry->value);
            }
        }
    }
    return where;
}

// A line break inside a name or value would split the entry and corrupt the file.
std::string SingleLine(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return result;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<int> ParseIniInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Up to 32 bits, so 0xFFFFFFFF reads as -1 like any 32-bit hex value.
        std::uint64_t magnitude = 0;
        for (const char c : text.substr(2)) {
            const int digit = HexDigitValue(c);
            if (digit < 0) {
                return std::nullopt;
            }
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
            if (magnitude > 0xFFFFFFFFU) {
                return std::nullopt;
            }
        }
        return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)));
    }
    int value = 0;
    const std::string_view digits =
        (!text.empty() && (text[0] == '-' || text[0] == '+')) ? text.substr(1) : text;
    if (!AllDigits(digits) || !TryStrToInt(text, value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

IniFile::IniFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

bool IniFile::exists() const {
    return files_.exists(path_);
}

namespace {

std::optional<std::string> ReadValue(const FileSystem& files, const std::string& path,
                                     std::string_view section, std::string_view key) {
    std::string bytes;
    if (!files.readAll(path, bytes).ok) {
        return std::nullopt;
    }
    Location where = Locate(ReadTextLines(bytes), section, key);
    if (!where.keyLine) {
        return std::nullopt;
    }
    return std::move(where.value);
}

}  // namespace

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const auto text = ReadValue(files_, path_, section, key);
    if (!text) {
        return defaultValue;
    }
    return ParseIniInteger(*text).value_or(defaultValue);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    auto text = ReadValue(files_, path_, section, key);
    return text ? std::move(*text) : std::string(defaultValue);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    std::vector<std::string> lines;
    if (files_.exists(path_)) {
        std::string bytes;
        // Writing without the old content would wipe every other entry.
        if (!files_.readAll(path_, bytes).ok) {
            throw Error(messages::CannotWrite(path_));
        }
        lines = ReadTextLines(bytes);
    }

    const std::string sectionName = SingleLine(section);
    const std::string keyName = SingleLine(key);
    const std::string text = SingleLine(value);
    const Location where = Locate(lines, sectionName, keyName);
    if (where.keyLine) {
        lines[*where.keyLine] = where.keyName + "=" + text;
    } else if (where.section) {
        const auto at = lines.begin() + static_cast<std::ptrdiff_t>(where.lastContent + 1);
        lines.insert(at, keyName + "=" + text);
    } else {
        lines.push_back("[" + sectionName + "]");
        lines.push_back(keyName + "=" + text);
    }

    if (!files_.writeAtomic(path_, WriteTextLines(lines)).ok) {
        throw Error(messages::CannotWrite(path_));
    }
}

}  // namespace losfix
