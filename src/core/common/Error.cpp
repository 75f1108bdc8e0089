#include "core/common/Error.h"

#include <cctype>
#include <climits>
#include <string>

namespace losfix {

namespace messages {

std::string Excerpt(std::string_view text, std::size_t limit) {
    std::size_t characters = 0;
    std::size_t continuations = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Continuation bytes of UTF-8 belong to the character before them, at most three of
        // them: a run of stray ones in a damaged text counts as characters of its own.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80 && continuations < 3) {
            ++continuations;
            continue;
        }
        continuations = 0;
        if (characters == limit) {
            std::string excerpt(text.substr(0, i));
            excerpt += "…";
            return excerpt;
        }
        ++characters;
    }
    return std::string(text);
}

std::string NotAnInteger(std::string_view text) {
    std::string message = "''";
    message += Excerpt(text);
    message += "'' ist kein gültiger Integer-Wert";
    return message;
}

std::string CannotOpen(std::string_view path, std::string_view systemText) {
    return "Datei " + std::string(path) + " kann nicht geöffnet werden. " + std::string(systemText);
}

std::string CannotCreate(std::string_view path, std::string_view systemText) {
    return "Datei \"" + std::string(path) + "\" kann nicht erstellt werden. " +
           std::string(systemText);
}

std::string ListIndexBeyondMaximum(long long index) {
    return "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")";
}

std::string CannotWrite(std::string_view path) {
    return "In " + std::string(path) + " kann nicht geschrieben werden";
}

}  // namespace messages

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    // Bytes of a multi-byte UTF-8 character are all above the full stop, like the character.
    if (!text.empty() &&
        static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

bool TryStrToInt(std::string_view text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) {
        return false;
    }
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && std::isxdigit(c) != 0) {
            digit = std::tolower(c) - 'a' + 10;
        } else {
            return false;
        }
        magnitude = magnitude * base + digit;
        // Hex values may use all 32 bits, as the runtime allows ($FFFFFFFF is -1).
        const long long limit = base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1;
        if (magnitude > limit) {
            return false;
        }
    }
    long long result = negative ? -magnitude : magnitude;
    if (base == 16 && !negative && result > INT_MAX) {
        result -= 0x100000000LL;
    }
    if (result > INT_MAX || result < INT_MIN) {
        return false;
    }
    value = static_cast<int>(result);
    return true;
}

int StrToInt(std::string_view text) {
    int value = 0;
    if (!TryStrToInt(text, value)) {
        throw Error(messages::NotAnInteger(text));
    }
    return value;
}

}  // namespace losfix
