#pragma once

// What a test keeps of the bytes of a large file: the size and a 64-bit FNV-1a hash, so that one
// byte changed anywhere shows.
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace losfix::testing {

struct Digest {
    std::size_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const Digest&) const = default;
};

// As a test writes it down: {size, 0x...ULL}.
inline std::string ToString(const Digest& digest) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(digest.hash));
    // Appended piece by piece: GCC 12 at -O3 warns falsely about "{" + text.
    std::string text(1, '{');
    text += std::to_string(digest.size);
    text += ", 0x";
    text += hash;
    text += "ULL}";
    return text;
}

inline std::ostream& operator<<(std::ostream& out, const Digest& digest) {
    return out << ToString(digest);
}

inline Digest Of(std::string_view bytes) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    return {bytes.size(), hash};
}

}  // namespace losfix::testing
