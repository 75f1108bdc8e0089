#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/lottery/NumberStatus.h"

namespace losfix {

// How strongly an outcome of a match is favoured. The codes are stored in the quick selection
// file, so they are fixed; the code is also the outcome's number of entries in its match drum.
enum class TipStatus : std::uint8_t {
    TipOut = 0,
    TipFavI = 1,
    TipFavII = 2,
    TipFavIII = 3,
};

constexpr int kTipStatusCount = 4;

constexpr std::array<Rgb, kTipStatusCount> TipStatusColours = {
    0xF3F3F3,  // out
    0xB7DCBD,  // Fav I
    0x8FFF79,  // Fav II
    0x5CDDBD,  // Fav III
};

constexpr bool IsTipStatusCode(int code) {
    return code >= 0 && code < kTipStatusCount;
}

constexpr Rgb TipStatusColour(TipStatus status) {
    return TipStatusColours[static_cast<std::size_t>(status)];
}

constexpr bool IsChosen(TipStatus status) {
    return status != TipStatus::TipOut;
}

// The outcome buttons wear the faces the number board gives Normal, Fav I, Fav II and Fav III.
constexpr NumberStatus TipStatusFace(TipStatus status) {
    constexpr std::array<NumberStatus, kTipStatusCount> faces = {
        NumberStatus::Normal, NumberStatus::FavI, NumberStatus::FavII, NumberStatus::FavIII};
    return faces[static_cast<std::size_t>(status)];
}

// The legend under the outcome buttons, left to right. Its "out" field is a shade darker than
// the status colour, as the window has always shown it.
struct TipLegendField {
    const char* caption;
    Rgb colour;
};
constexpr std::array<TipLegendField, kTipStatusCount> TipLegend = {{
    {"out", 0xE8E8E8},
    {"Fav I ", 0xB7DCBD},
    {"Fav I I", 0x8FFF79},
    {"Fav III", 0x5CDDBD},
}};
constexpr Rgb kTipLegendTextColour = 0x515151;

// ---- Matches and outcome slots ----------------------------------------------------------------

constexpr int kMatchCount = 13;
constexpr int kOutcomesPerMatch = 3;
constexpr int kOutcomeSlotCount = kMatchCount * kOutcomesPerMatch;  // 39

// Position 1..3 of match 1..13 as slot 1..39.
constexpr int OutcomeSlot(int match, int position) {
    return (match - 1) * kOutcomesPerMatch + position;
}
constexpr int MatchOfSlot(int slot) {
    return (slot - 1) / kOutcomesPerMatch + 1;
}
constexpr int PositionOfSlot(int slot) {
    return (slot - 1) % kOutcomesPerMatch + 1;
}
constexpr bool IsOutcomeSlot(int slot) {
    return slot >= 1 && slot <= kOutcomeSlotCount;
}

// The outcome value of a slot, from the slot number alone: 1, 0 or 2 for positions 1, 2, 3.
constexpr int OutcomeValue(int slot) {
    constexpr std::array<int, kOutcomesPerMatch> values = {1, 0, 2};
    return values[static_cast<std::size_t>(PositionOfSlot(slot) - 1)];
}

// The symbol of a slot: "1", "0" or "2".
inline std::string OutcomeText(int slot) {
    return std::string(1, static_cast<char>('0' + OutcomeValue(slot)));
}

// The outcome matrix lists "1", "0", "2" in its rows 1, 2, 3; 0 for a value that is no outcome.
constexpr int MatrixRowOfValue(int value) {
    constexpr std::array<int, kOutcomesPerMatch> rows = {2, 1, 3};
    return value >= 0 && value < kOutcomesPerMatch ? rows[static_cast<std::size_t>(value)] : 0;
}

}  // namespace losfix
