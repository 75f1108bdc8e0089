#include "core/football/MatchBoard.h"

#include <utility>

namespace losfix {

namespace {

std::size_t IndexOf(int slot) {
    return static_cast<std::size_t>(slot - 1);
}

}  // namespace

int ChosenCount(const TipStatuses& statuses, int match) {
    int chosen = 0;
    for (int position = 1; position <= kOutcomesPerMatch; ++position) {
        chosen += IsChosen(statuses[IndexOf(OutcomeSlot(match, position))]) ? 1 : 0;
    }
    return chosen;
}

BoardCounts CountBoard(const TipStatuses& statuses) {
    BoardCounts counts;
    for (int match = 1; match <= kMatchCount; ++match) {
        const int chosen = ChosenCount(statuses, match);
        if (chosen == 0) {
            continue;
        }
        counts.combinations *= static_cast<std::uint32_t>(chosen);
        switch (chosen) {
            case 1:
                ++counts.bankers;
                break;
            case 2:
                ++counts.twoWay;
                break;
            default:
                ++counts.threeWay;
                break;
        }
    }
    return counts;
}

std::string FormatThousands(std::uint64_t value, std::string_view separator) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += separator;
        }
        text += digits[i];
    }
    return text;
}

MatchBoard::MatchBoard(std::string thousandsSeparator)
    : separator_(std::move(thousandsSeparator)) {}

TipStatus MatchBoard::status(int slot) const {
    return IsOutcomeSlot(slot) ? statuses_[IndexOf(slot)] : TipStatus::TipOut;
}

void MatchBoard::setTipStatus(int slot, TipStatus status) {
    // A code the drums do not know must never be stored.
    if (!IsOutcomeSlot(slot) || !IsTipStatusCode(static_cast<int>(status))) {
        return;
    }
    statuses_[IndexOf(slot)] = status;
}

TipStatus MatchBoard::stepTipStatus(int slot, MouseStep step) {
    if (!IsOutcomeSlot(slot)) {
        return TipStatus::TipOut;
    }
    const int code = static_cast<int>(statuses_[IndexOf(slot)]);
    const int last = kTipStatusCount - 1;
    int next = code;
    switch (step) {
        case MouseStep::Right:
            next = code <= 0 ? last : code - 1;
            break;
        case MouseStep::Left:
            next = code >= last ? 0 : code + 1;
            break;
        case MouseStep::Middle:
            break;
    }
    statuses_[IndexOf(slot)] = static_cast<TipStatus>(next);
    kombisAnzeigen();
    return statuses_[IndexOf(slot)];
}

void MatchBoard::clearTips() {
    statuses_.fill(TipStatus::TipOut);
    labels_ = CountLabels{};
}

void MatchBoard::kombisAnzeigen() {
    const BoardCounts counts = CountBoard(statuses_);
    labels_.kombis = FormatThousands(counts.combinations, separator_);
    labels_.zw = std::to_string(counts.twoWay);
    labels_.dw = std::to_string(counts.threeWay);
    labels_.baenke = std::to_string(counts.bankers);
}

}  // namespace losfix
