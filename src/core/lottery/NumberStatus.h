#pragma once

#include <array>
#include <cstdint>

namespace losfix {

// The status of one lottery number. The codes are stored in selection files, so they are fixed.
enum class NumberStatus : std::uint8_t {
    Normal = 0,
    Out = 1,
    FavI = 2,
    FavII = 3,
    FavIII = 4,
    Bank = 5,
};

constexpr int kStatusCount = 6;

// 24-bit colours as 0xRRGGBB.
using Rgb = std::uint32_t;

constexpr std::array<Rgb, kStatusCount> StatusColours = {
    0xF3F3F3,  // Normal
    0xFF88AB,  // Out
    0xB7DCBD,  // Fav I
    0x8FFF79,  // Fav II
    0x5CDDBD,  // Fav III
    0xB6D0FF,  // Bank
};

constexpr Rgb StatusColour(NumberStatus status) {
    return StatusColours[static_cast<std::size_t>(status)];
}

constexpr bool IsStatusCode(int code) {
    return code >= 0 && code < kStatusCount;
}

// How many times a number of this status goes into the drum (bankers and excluded: none).
constexpr int DrumEntries(NumberStatus status) {
    switch (status) {
        case NumberStatus::Normal:
            return 1;
        case NumberStatus::FavI:
            return 2;
        case NumberStatus::FavII:
            return 3;
        case NumberStatus::FavIII:
            return 4;
        case NumberStatus::Out:
        case NumberStatus::Bank:
            return 0;
    }
    return 0;
}

}  // namespace losfix
