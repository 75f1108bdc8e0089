// The settings file: any bytes as einstellungen.ini, read as the main window reads it at start;
// then values written and read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/Settings.h"
#include "core/common/IniFile.h"
#include "fuzz/FuzzCheck.h"
#include "support/core/MemoryFileSystem.h"

using namespace losfix;
using losfix::fuzz::ThroughWindows1252;

namespace {

const std::string kPath = "/daten/Einstellungen/einstellungen.ini";

// Names as the program uses them: the real ones, or short ones of letters, digits and "-" in any
// letter case (an INI file cannot hold a name with "=", brackets or blanks around it).
std::string Name(FuzzedDataProvider& input) {
    static const char* const kKnown[] = {"Fenster", "Losfix",    "Wach",  "Position",
                                         "Breite",  "Zahlen",    "Menge", "FMain-left",
                                         "Stand",   "FKick-top", "x",     ""};
    const auto choice = input.ConsumeIntegralInRange<std::size_t>(0, std::size(kKnown));
    if (choice < std::size(kKnown)) {
        return kKnown[choice];
    }
    static constexpr std::string_view kAlphabet = "abcXYZ019-_.";
    std::string name;
    for (const char c : input.ConsumeRandomLengthString(8)) {
        name += kAlphabet[static_cast<unsigned char>(c) % kAlphabet.size()];
    }
    return name;
}

std::string FlipCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool SameName(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

// The integer a value stands for, worked out independently of the reader: decimal with an
// optional sign, or "0x" and up to 32 bits of hex digits; anything else gives the default.
int ExpectedInteger(std::string_view text, int defaultValue) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (const char c : text.substr(2)) {
            const char lower = static_cast<char>(c | 0x20);
            const bool digit = c >= '0' && c <= '9';
            if (!digit && !(lower >= 'a' && lower <= 'f')) {
                return defaultValue;
            }
            value = value * 16 + static_cast<std::uint64_t>(digit ? c - '0' : lower - 'a' + 10);
            if (value > 0xFFFFFFFFU) {
                return defaultValue;
            }
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return defaultValue;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return defaultValue;
        }
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 32) {
            return defaultValue;
        }
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

bool IsIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

// A value as it reads back: on one line, through Windows-1252, without blanks around it.
std::string Stored(std::string_view value) {
    std::string text = ThroughWindows1252(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n\v\f\x1A");
    if (first == std::string::npos) {
        return {};
    }
    std::size_t last = text.size();
    while (IsIniSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    losfix::testing::MemoryFileSystem files;
    files.files[kPath] = input.ConsumeRandomLengthString();
    IniFile ini(files, kPath);

    // What the main window and the football window read at start.
    const MainSettings settings = LoadMainSettings(ini);
    FUZZ_CHECK(settings.congruence >= 1 && settings.congruence <= 15);
    FUZZ_CHECK(settings.rowSizeItem >= 0 && settings.poolItem >= 0);
    ReadPosition(ini, "FMain");
    ReadFootballRowCount(ini);

    const std::string otherSection = Name(input);
    const std::string otherKey = Name(input);
    // No stored value ends in a blank, so this default tells a missing key.
    const std::string missing = " missing ";
    const std::string before = ini.readString(otherSection, otherKey, missing);
    FUZZ_CHECK(ini.readInteger(otherSection, otherKey, 12345) ==
               ExpectedInteger(before == missing ? "" : before, 12345));

    const std::string section = Name(input);
    const std::string key = Name(input);
    const std::string value = input.ConsumeRandomLengthString(64);
    ini.writeString(section, key, value);
    FUZZ_CHECK(ini.readString(FlipCase(section), FlipCase(key), missing) == Stored(value));

    const int number = input.ConsumeIntegral<int>();
    ini.writeInteger(section, key, number);
    FUZZ_CHECK(ini.readInteger(section, key, number == 0 ? 1 : 0) == number);

    // Every other value stays as it was, as far as Windows-1252 holds it.
    if (!(SameName(section, otherSection) && SameName(key, otherKey))) {
        const std::string after = ini.readString(otherSection, otherKey, missing);
        FUZZ_CHECK(after == (before == missing ? before : ThroughWindows1252(before)));
    }
    return 0;
}
