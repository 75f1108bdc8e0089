#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/common/StringGrid.h"
#include "core/eval/LottoEvaluation.h"

namespace losfix {

// A tip row: the outcome value (1, 0 or 2) of matches 1..13.
using TipRow = std::array<std::uint8_t, 13>;

// Reads rows 1.. of the tip table; empty rows at the end are left out. A German message naming
// the row when a row is partly empty or a cell is not "1", "0" or "2", or when no row is there.
std::variant<std::vector<TipRow>, std::string> ReadTipRows(const StringGrid& table);

// Parses 13 results from "1,0,2,..." (commas, semicolons or blanks; also "1021..." without
// separators). A German message naming the match when one is missing or malformed.
std::variant<TipRow, std::string> ParseTipResults(std::string_view text);

// Correct matches of every row for one set of results, and rows per class 0..13.
struct TipHits {
    std::vector<std::uint8_t> correct;
    std::array<std::uint64_t, 14> rowsWithCorrect{};
};
TipHits CountTipHits(const std::vector<TipRow>& rows, const TipRow& results);
// "13 Richtige: 0 Reihen · 12 Richtige: 1 Reihe · 11 Richtige: 3 Reihen · 10 Richtige: 17 Reihen"
std::string TipHitSummary(const TipHits& hits);

// Over all 3^13 results. Weights are exact integers: the uniform view gives every result weight
// 1 (total 1,594,323); the status view gives result r the product over the matches of the tip
// status code of r's outcome in that match (Fav I : Fav II : Fav III = 1 : 2 : 3), a match with no
// chosen outcome weighing its three outcomes 1 each. total = the sum of all weights.
struct TipOdds {
    std::uint64_t total = 0;                  // sum of weights (results when uniform)
    std::array<std::uint64_t, 14> bestRow{};  // [c]: weight of results whose best row has c correct
    std::array<std::uint64_t, 14> anyRow{};   // [c]: weight of results with a row of exactly c
    std::array<long double, 14> rowsTotal{};  // [c]: weighted sum of rows with exactly c correct
    bool stopped = false;
};

constexpr std::uint64_t kTipResultCount = 1'594'323;  // 3^13

// statuses: the 39 tip status codes (index slot - 1) or nullptr for the uniform view.
TipOdds ComputeTipOdds(const std::vector<TipRow>& rows,
                       const std::array<std::uint8_t, 39>* statuses, EvalControl& control);

// Both views in one computation, with one progress: what the rows have in common is counted once.
struct TipOddsViews {
    TipOdds uniform;
    TipOdds weighted;
};
TipOddsViews ComputeTipOddsViews(const std::vector<TipRow>& rows,
                                 const std::array<std::uint8_t, 39>& statuses,
                                 EvalControl& control);

}  // namespace losfix
