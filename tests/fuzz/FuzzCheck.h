#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/common/TextFile.h"

// A broken property is a finding like a crash: print it and abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace losfix::fuzz {

// What a text reads back as after a file of the program held it: Windows-1252 can hold only
// some characters, the others come back as "?".
inline std::string ThroughWindows1252(std::string_view text) {
    return Cp1252ToUtf8(Utf8ToCp1252(text));
}

// Whether text is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
inline bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + more >= text.size()) {
            return false;  // cut off at the end
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < low || next > high) {
                return false;
            }
            low = 0x80;
            high = 0xBF;
        }
        i += more + 1;
    }
    return true;
}

}  // namespace losfix::fuzz
