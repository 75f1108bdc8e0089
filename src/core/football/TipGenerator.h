#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"

namespace losfix {

// The drum of one match: its slots in position order, each as often as its status code says.
using MatchDrum = std::vector<int>;
using MatchDrums = std::array<MatchDrum, kMatchCount>;

MatchDrums BuildMatchDrums(const TipStatuses& statuses);

// The number of different rows the drums can give: the product of the distinct slots of every
// drum that has any (an empty drum gives no row at all, and 0 here).
std::uint32_t DrumCombinations(const MatchDrums& drums);

// The count field's text when it is empty.
inline constexpr const char* kDefaultTipCountText = "72";

// "Sie müssen für Spiel <m> eine Auswahl treffen.\r\rIch breche erst einmal ab." for the first
// match without a chosen outcome, or nothing.
std::optional<std::string> TipBoardRefusal(const TipStatuses& statuses);

// A hint before a run that cannot end by itself: the requested count is above the number of
// different rows, or 0 or less. The run still starts.
std::optional<std::string> TipCountHint(int requested, std::uint32_t combinations);

// What "Reihen bilden" works with, read once at its start.
struct TipRunPlan {
    std::optional<std::string> refusal;  // an information box instead of a run
    std::string countText;               // what the count field must show ("72" for empty)
    int requested = 0;
    MatchDrums drums;
    std::uint32_t combinations = 0;
    std::optional<std::string> hint;  // TipCountHint, shown before the run starts
};

// Checks the board, then reads the count field: throws Error("''<text>'' ist kein gültiger
// Integer-Wert") for a field that is not a whole number. A refused plan carries nothing else.
TipRunPlan PlanTipRun(const TipStatuses& statuses, std::string_view countText);

// How far a run has come; handed to the yield callback.
struct TipRunProgress {
    int acceptedRows = 0;
    int requestedRows = 0;
    std::uint64_t candidates = 0;
    std::uint32_t combinations = 0;

    // Every different row is found, but the requested count is not reached: the run goes on
    // until the user stops it.
    bool allRowsFound() const {
        return static_cast<std::uint64_t>(acceptedRows) >= combinations &&
               acceptedRows != requestedRows;
    }
};

// "Reihe 1.234 von 99.999, 1.300 Kandidaten geprüft", and once every row is found the request
// to stop the run.
std::string TipProgressText(const TipRunProgress& progress);

struct TipRunOutcome {
    int acceptedRows = 0;
    std::uint64_t candidates = 0;
    bool stopped = false;
    bool refused = false;  // a drum was empty: nothing was drawn or written
};

// "120 von 120 Reihen gebildet, 125 Kandidaten geprüft."
std::string TipRunSummary(const TipRunOutcome& outcome, int requested);

// Called once before the first candidate and after every candidate; returns true when the user
// asked to stop. The run checks the answer after each candidate, so at least one is drawn.
using TipYieldCallback = std::function<bool(const TipRunProgress&)>;

// Draws tip rows: before every candidate the generator is re-seeded, then every match draws one
// slot from its drum; a candidate equal to an accepted row is dropped. The run ends when the
// requested count is reached or after a candidate at which the callback asked to stop. Then the
// tip table gets exactly the accepted rows (labels padded for width 36), and the outcome counts
// and matrix count them. Until then table, matrix and counts are untouched.
class TipGenerator {
public:
    TipGenerator(Random& random, TextMeasure measure);

    TipRunOutcome run(const MatchDrums& drums, int requested, StringGrid& table, StringGrid& matrix,
                      OutcomeCounts& counts, const TipYieldCallback& yield);

    // The same run with the duplicate test as a plain scan of the texts of every accepted row:
    // the reference the fast test is checked and benchmarked against.
    TipRunOutcome runListScan(const MatchDrums& drums, int requested, StringGrid& table,
                              StringGrid& matrix, OutcomeCounts& counts,
                              const TipYieldCallback& yield);

private:
    Random& random_;
    TextMeasure measure_;
};

}  // namespace losfix
