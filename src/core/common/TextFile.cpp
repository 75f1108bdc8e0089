#include "core/common/TextFile.h"

#include <array>
#include <cstdint>
#include <functional>

namespace losfix {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom) || bytes.starts_with(kUtf16LeBom) ||
           bytes.starts_with(kUtf16BeBom);
}

// Windows-1252 0x80..0x9F. The five bytes Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 code points of the same number, as MultiByteToWideChar maps them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 character at pos and advances pos. A malformed sequence gives
// U+FFFD and consumes only its valid-looking prefix, so the next character is not swallowed.
char32_t NextUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int more = 0;
    char32_t code = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return kReplacement;
    }
    for (int i = 0; i < more; ++i) {
        if (pos >= text.size()) {
            return kReplacement;
        }
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < low || next > high) {
            return kReplacement;
        }
        low = 0x80;
        high = 0xBF;
        code = (code << 6) | (next & 0x3F);
        ++pos;
    }
    return code;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        AppendUtf8(out, NextUtf8(bytes, pos));
    }
    return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char16_t next = unitAt(i + 1);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);  // a surrogate without its partner
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (bytes.size() % 2 != 0) {
        AppendUtf8(out, kReplacement);  // a trailing half character
    }
    return out;
}

int Cp1252ByteOf(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<int>(code);
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == code) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            AppendUtf8(out, kCp1252High[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = Cp1252ByteOf(NextUtf8(utf8, pos));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return SanitizeUtf8(bytes.substr(kUtf8Bom.size()));
    }
    if (bytes.starts_with(kUtf16LeBom)) {
        return Utf16ToUtf8(bytes.substr(kUtf16LeBom.size()), false);
    }
    if (bytes.starts_with(kUtf16BeBom)) {
        return Utf16ToUtf8(bytes.substr(kUtf16BeBom.size()), true);
    }
    return Cp1252ToUtf8(bytes);
}

std::size_t ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::size_t count = 0;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        visit(text.substr(start, pos - start));
        ++count;
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size()) {
        visit(text.substr(start));
        ++count;
    }
    return count;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> ReadTextLines(std::string_view bytes) {
    return SplitLines(DecodeText(bytes));
}

namespace {

template <typename Lines>
std::string EncodeLines(const Lines& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += Utf8ToCp1252(line);
        out += "\r\n";
    }
    // Windows-1252 text that begins with the bytes of a byte-order mark ("ï»¿", "ÿþ", "þÿ")
    // would read back as UTF-8 or UTF-16; behind a mark of its own it reads back unchanged.
    if (StartsWithByteOrderMark(out)) {
        std::string marked(kUtf8Bom);
        marked += Cp1252ToUtf8(out);
        return marked;
    }
    return out;
}

}  // namespace

std::string WriteTextLines(const std::vector<std::string>& lines) {
    return EncodeLines(lines);
}

std::string WriteTextLineViews(const std::vector<std::string_view>& lines) {
    return EncodeLines(lines);
}

}  // namespace losfix
