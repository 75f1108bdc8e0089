#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/football/TipStatus.h"
#include "core/lottery/Board.h"

namespace losfix {

// The statuses of the 39 outcome slots; index slot - 1.
using TipStatuses = std::array<TipStatus, kOutcomeSlotCount>;

// What the marks allow: the product of the chosen counts of the matches with a choice (1 when no
// outcome is chosen anywhere) and how many matches have one, two or three chosen outcomes.
struct BoardCounts {
    std::uint32_t combinations = 1;
    int bankers = 0;
    int twoWay = 0;
    int threeWay = 0;

    bool operator==(const BoardCounts&) const = default;
};

// How many outcomes of match 1..13 are chosen.
int ChosenCount(const TipStatuses& statuses, int match);
BoardCounts CountBoard(const TipStatuses& statuses);

// Digits grouped by thousands: 1594323 with "." gives "1.594.323".
std::string FormatThousands(std::uint64_t value, std::string_view separator = ".");

// The texts of the four count labels LKombis, LZW, LDW and LBaenke.
struct CountLabels {
    std::string kombis = "0";
    std::string zw = "0";
    std::string dw = "0";
    std::string baenke = "0";

    bool operator==(const CountLabels&) const = default;
};

// The match board: the tip statuses and the count labels as the window shows them. The labels are
// state of their own because clearing writes "0" into all four, while counting an empty board
// gives 1 combination; the window shows labels() after every change.
class MatchBoard {
public:
    // The separator of the user's locale groups the combination count.
    explicit MatchBoard(std::string thousandsSeparator = ".");

    TipStatus status(int slot) const;  // TipOut outside 1..39
    const TipStatuses& statuses() const { return statuses_; }

    // SetTipStatus: stores the status of one slot; the labels stay until kombisAnzeigen.
    void setTipStatus(int slot, TipStatus status);
    // StepTipStatus: left steps forward (Fav III wraps to out), right steps back (out wraps to
    // Fav III), middle keeps the status; then kombisAnzeigen. Returns the new status.
    TipStatus stepTipStatus(int slot, MouseStep step);
    // ClearTips: every slot out and "0" in all four labels.
    void clearTips();
    // KombisAnzeigen: recounts the board into the labels.
    void kombisAnzeigen();

    BoardCounts counts() const { return CountBoard(statuses_); }
    const CountLabels& labels() const { return labels_; }

private:
    TipStatuses statuses_{};
    CountLabels labels_;
    std::string separator_;
};

// The mouse step of a press: the right button wins over the left; neither is the middle one.
constexpr MouseStep MouseStepOfButtons(bool left, bool right) {
    return right ? MouseStep::Right : (left ? MouseStep::Left : MouseStep::Middle);
}

}  // namespace losfix
