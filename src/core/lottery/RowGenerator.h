#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/lottery/Board.h"

namespace losfix {

// Items of the pair-rule choice.
enum class PairRule {
    NoCheck = 0,      // "keine Kontrolle"
    EveryRow = 1,     // "in jeder Reihe"
    EverySecond = 2,  // "in jeder zweiten"
    EveryThird = 3,   // "in jeder dritten"
    EveryFourth = 4,  // "in jeder vierten"
    Exclude = 5,      // "nein, ausschließen"
};

constexpr int kCongruenceMax = 15;  // "egal"

// For each number 1..90 (index n - 1): how many rows of the last run contain it.
using DrawCounts = std::array<int, 90>;

struct RunSettings {
    int requestedRows = 120;
    int poolSize = 49;
    int rowSize = 6;
    int congruenceLimit = kCongruenceMax;
    PairRule pairRule = PairRule::NoCheck;
};

// On iff rowSize - 2 >= limit: a limit of rowSize - 1 or more is the same as none.
constexpr bool CongruenceSwitchOn(int rowSize, int limit) {
    return rowSize - 2 >= limit;
}

// Why a run cannot start, in the program's words, or nothing when it can: a count of 0, or a
// board that can never complete a row (bankers >= row size, or too few distinct numbers).
std::optional<std::string> RunRefusal(const RunSettings& settings, const Drum& drum);

// How far a run has come; handed to the yield callback.
struct RunProgress {
    int acceptedRows = 0;
    int requestedRows = 0;
    std::uint64_t candidates = 0;             // candidates completed so far
    std::uint64_t candidatesSinceAccept = 0;  // since the last accepted row
};

struct RunOutcome {
    int acceptedRows = 0;
    std::uint64_t candidates = 0;
    bool stopped = false;
    bool refused = false;  // RunRefusal objected: nothing was drawn or written
};

// Called once before the first candidate and after every drum entry taken; returns true when
// the user asked to stop. It must be cheap: a run calls it millions of times.
using YieldCallback = std::function<bool(const RunProgress&)>;

// Draws rows into the row table until the requested count is reached or the callback asks to
// stop. A run RunRefusal objects to returns at once with `refused` set and touches nothing. Sizes
// the table to requestedRows + 1, clears the number cells of rows 1..requestedRows, zeroes and
// fills the draw counts, writes accepted rows (label via PadLabel, numbers ascending).
class RowGenerator {
public:
    RowGenerator(Random& random, TextMeasure measure);

    RunOutcome run(const RunSettings& settings, const Drum& drum, StringGrid& table,
                   DrawCounts& counts, const YieldCallback& yield);

    // The same decisions through a plain scan of every compared row: the reference the fast
    // congruence index is tested and benchmarked against.
    RunOutcome runReference(const RunSettings& settings, const Drum& drum, StringGrid& table,
                            DrawCounts& counts, const YieldCallback& yield);

private:
    Random& random_;
    TextMeasure measure_;
};

// The most rows that can pairwise share at most `limit` numbers: the Johnson bound
// J(v - b, k - b, L - b) with v numbers not Out in the pool (bankers included), row size k and
// b bankers; 1 when L < b; C(v - b, k - b) distinct rows when the congruence switch is off.
std::uint64_t RunCeiling(int availableNumbers, int rowSize, int bankers, int limit);

}  // namespace losfix
