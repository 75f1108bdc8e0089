#include "core/common/CommaLine.h"

#include <algorithm>

namespace losfix {

namespace {

constexpr std::size_t kItemsReserved = 32;

// U+0001..U+0020; bytes of multi-byte UTF-8 characters are all above 0x7F.
bool IsBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 0x01 && code <= 0x20;
}

bool NeedsQuotes(std::string_view text) {
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= 0x01 && code <= 0x20) || c == '"' || c == ',') {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string WriteCommaLineOfViews(std::span<const std::string_view> items) {
    std::string line;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        const std::string_view text = items[i];
        if (!NeedsQuotes(text)) {
            line += text;
            continue;
        }
        line += '"';
        for (const char c : text) {
            if (c == '"') {
                line += '"';
            }
            line += c;
        }
        line += '"';
    }
    return line;
}

std::string WriteCommaLine(const std::vector<std::string>& items) {
    const std::vector<std::string_view> views(items.begin(), items.end());
    return WriteCommaLineOfViews(views);
}

std::vector<std::string> ReadCommaLine(std::string_view line, std::size_t maxItems) {
    std::vector<std::string> items;
    const std::size_t end = line.size();
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < end && IsBlank(line[pos])) {
            ++pos;
        }
    };

    skipBlanks();
    if (pos < end) {
        // A row's few items in one allocation, without reserving much for a huge line.
        items.reserve(std::min({maxItems, end - pos + 1, kItemsReserved}));
    }
    while (pos < end && items.size() < maxItems) {
        std::string item;
        if (line[pos] == '"') {
            ++pos;
            // Runs to the next undoubled quote, or to the end of the line if none closes it.
            while (pos < end) {
                if (line[pos] == '"') {
                    if (pos + 1 < end && line[pos + 1] == '"') {
                        item += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                item += line[pos];
                ++pos;
            }
        } else {
            const std::size_t start = pos;
            while (pos < end && line[pos] != ',' && !IsBlank(line[pos])) {
                ++pos;
            }
            item.assign(line.substr(start, pos - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (pos < end && line[pos] == ',') {
            if (pos + 1 == end && items.size() < maxItems) {
                items.emplace_back();
            }
            ++pos;
            skipBlanks();
        }
    }
    return items;
}

}  // namespace losfix
