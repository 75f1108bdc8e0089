#pragma once

#include "core/football/TipStatus.h"

namespace losfix {

// The football window's fixed sizes, in pixels.
constexpr int kFootballClientWidth = 645;
constexpr int kFootballClientHeight = 534;
constexpr int kFootballMaxWidth = 664;  // the whole window, frame included
constexpr int kFootballMaxHeight = 578;

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

// The outcome button of a slot within the board panel: 13 rows of 3, match 1 at the top.
constexpr PixelRect OutcomeButtonRect(int slot) {
    return {(PositionOfSlot(slot) - 1) * 40 + 27, (MatchOfSlot(slot) - 1) * 28 + 45, 39, 26};
}

// The match number field stands level with its row of buttons, on the strip left of them.
constexpr int kMatchNumberSize = 20;
constexpr Rgb kMatchNumberBackground = 0x4D4D4D;
constexpr int MatchNumberTop(int match) {
    return OutcomeButtonRect(OutcomeSlot(match, 1)).top + (26 - kMatchNumberSize) / 2;
}

// The left edge of a text centred in a cell, the division truncating toward zero.
constexpr int CentredTextLeft(int cellLeft, int cellWidth, int textWidth) {
    return cellLeft + (cellWidth - textWidth) / 2;
}

}  // namespace losfix
