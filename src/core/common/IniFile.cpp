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

// Finds the location line by line, so that a read needs no list of the lines.
class Locator {
public:
    Locator(std::string_view section, std::string_view key) : section_(section), key_(key) {}

    // Takes the next line; false once no later line can change the location.
    bool feed(std::string_view line) {
        const std::size_t i = index_++;
        if (const auto header = SectionHeader(line)) {
            if (where_.section) {
                return false;
            }
            if (EqualsIgnoringCase(*header, section_)) {
                where_.section = i;
                where_.lastContent = i;
            }
            return true;
        }
        if (!where_.section) {
            return true;
        }
        if (!Trim(line).empty()) {
            where_.lastContent = i;
        }
        if (!where_.keyLine) {
            if (const auto entry = ParseKeyLine(line);
                entry && EqualsIgnoringCase(entry->key, key_)) {
                where_.keyLine = i;
                where_.keyName = std::string(entry->key);
                where_.value = std::string(entry->value);
            }
        }
        return true;
    }

    Location& where() { return where_; }

private:
    std::string_view section_;
    std::string_view key_;
    std::size_t index_ = 0;
    Location where_;
};

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
    Locator locator(section, key);
    bool done = false;
    ForEachLine(DecodeText(bytes),
                [&](std::string_view line) { done = done || !locator.feed(line); });
    if (!locator.where().keyLine) {
        return std::nullopt;
    }
    return std::move(locator.where().value);
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
    std::string oldText;
    if (files_.exists(path_)) {
        std::string bytes;
        // Writing without the old content would wipe every other entry.
        if (!files_.readAll(path_, bytes).ok) {
            throw Error(messages::CannotWrite(path_));
        }
        oldText = DecodeText(bytes);
    }
    // The lines without a copy of each: a damaged file may have millions.
    std::vector<std::string_view> lines;
    ForEachLine(oldText, [&](std::string_view line) { lines.push_back(line); });

    const std::string sectionName = SingleLine(section);
    const std::string keyName = SingleLine(key);
    const std::string text = SingleLine(value);
    Locator locator(sectionName, keyName);
    for (const std::string_view line : lines) {
        if (!locator.feed(line)) {
            break;
        }
    }
    const Location& where = locator.where();
    std::string entry = where.keyLine ? where.keyName : keyName;
    entry += '=';
    entry += text;
    std::string header;
    if (where.keyLine) {
        lines[*where.keyLine] = entry;
    } else if (where.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.lastContent + 1), entry);
    } else {
        header += '[';
        header += sectionName;
        header += ']';
        lines.push_back(header);
        lines.push_back(entry);
    }

    if (!files_.writeAtomic(path_, WriteTextLineViews(lines)).ok) {
        throw Error(messages::CannotWrite(path_));
    }
}

}  // namespace losfix
