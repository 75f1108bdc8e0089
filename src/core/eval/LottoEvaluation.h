#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/common/StringGrid.h"

namespace losfix {

// Shared by the long computations: the window thread sets `stop`; the computation adds to `done`
// as it goes (relaxed atomics, polled by the window with a timer) and knows `total` in advance.
// Tables built before the first draw count apart: `prepared` of `preparing` units, which take
// about `prepareShare` thousandths of the whole. A computation looks at `stop` after every
// step of about a millisecond, and calls `afterStep` (when set) on its own thread after each
// step it has added to the counters.
struct EvalControl {
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<std::uint64_t> prepared{0};
    std::atomic<std::uint64_t> preparing{0};
    std::atomic<int> prepareShare{0};
    std::function<void()> afterStep;

    bool stopped() const { return stop.load(std::memory_order_relaxed); }
    // Add to `done` or `prepared`; false when the computation is to stop.
    bool addDone(std::uint64_t steps);
    bool addPrepared(std::uint64_t units);
};

// How far a computation has come, 0..1000: the tables by their share, then the draws.
int ProgressPermille(const EvalControl& control);

constexpr int kMaxDrawSize = 20;

// The rows of the row table as number sets, in table order; empty rows (a stopped run's tail)
// are left out. tableRow[i] is the grid row of rows[i].
struct LottoRows {
    int poolSize = 49;
    int rowSize = 0;  // every row has this many numbers
    std::vector<NumberSet> rows;
    std::vector<int> tableRow;
};

// Reads the number cells of rows 1.. of the row table. A German message (naming the row) instead
// of rows when: no row holds a number, a cell is not a number of 1..poolSize, a row holds a
// number twice, or the rows have different sizes.
std::variant<LottoRows, std::string> ReadLottoRows(const StringGrid& table, int poolSize);

// The default draw size: 6, or the row size when rows have fewer numbers; never above the pool.
int DefaultDrawSize(int rowSize, int poolSize);

// A German message when drawSize cannot be drawn from the pool (below 1, above kMaxDrawSize or
// above the pool size); empty when it can.
std::string DrawSizeProblem(int drawSize, int poolSize);

struct LottoDraw {
    std::vector<int> numbers;  // ascending
    int additional = 0;        // the "Zusatzzahl"; 0 for none
};

// Parses the drawn numbers ("3 12 19 27 33 41", separated by blanks, commas or semicolons) and
// the optional additional number (empty text: none). A German message naming the offending entry
// when an entry is not a number, lies outside 1..poolSize, repeats, or the count is not drawSize;
// the additional number must be in the pool and not among the drawn ones.
std::variant<LottoDraw, std::string> ParseLottoDraw(std::string_view numbers,
                                                    std::string_view additional, int poolSize,
                                                    int drawSize);

// Hits of every row for one draw.
struct LottoHits {
    std::vector<std::uint8_t> hits;                // per row, as in LottoRows::rows
    std::vector<bool> additional;                  // per row: the additional number is in the row
    std::array<std::uint64_t, 17> rowsWithHits{};  // [h]: rows with exactly h hits
};
LottoHits CountLottoHits(const LottoRows& rows, const LottoDraw& draw);

// The hit classes a row of rowSize numbers can reach in a draw of drawSize from poolSize:
// lowest and highest possible number of hits.
int LowestPossibleHits(int rowSize, int drawSize, int poolSize);
int HighestPossibleHits(int rowSize, int drawSize);

// The classes that can occur for this row size, draw size and pool, highest first, down to
// `lowestClass` (at least 1): "6 Richtige: 0 Reihen · 5 Richtige: 1 Reihe · ...".
std::string LottoHitSummary(const LottoHits& hits, int rowSize, int drawSize, int poolSize,
                            int lowestClass);

// What the rows can win over all C(poolSize, drawSize) equally likely draws (or a uniform
// sample of them). Index h runs 0..min(rowSize, drawSize).
struct LottoOdds {
    std::uint64_t draws = 0;  // C(N, d) when exact, else the draws sampled
    bool exact = true;
    bool stopped = false;                  // the user stopped: the figures are from the draws done
                                           // so far (a stopped exact enumeration is reported as a
                                           // sample, exact=false)
    std::vector<std::uint64_t> bestRow;    // [h]: draws whose best row has exactly h hits
    std::vector<std::uint64_t> anyRow;     // [h]: draws with at least one row of exactly h hits
    std::vector<std::uint64_t> rowsTotal;  // [h]: sum over the draws of rows with exactly h hits
    std::vector<double> rowsSquares;       // [h]: sum of squares of that count (for intervals)
};

// C(n, k); the largest std::uint64_t when it does not fit.
std::uint64_t Binomial(int n, int k);

// Whether all C(N, d) draws can be enumerated within about a second for these rows.
bool LottoOddsExactFeasible(const LottoRows& rows, int drawSize);

// Exact when feasible (or `forceExact`), else a uniform sample of `sampleDraws` draws (at least
// 10 million by default) from `seed`. Uses at most std::thread::hardware_concurrency() threads,
// never more than 2 on this machine's kind. Honours control.stop. Empty rows or a draw size the
// pool cannot give yield no figures (draws 0, exact false).
LottoOdds ComputeLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                           std::uint64_t seed, std::uint64_t sampleDraws = 10'000'000,
                           bool forceExact = false);

// A 95 % interval for a probability estimated as k of n (Wilson), and for a mean from its sums.
struct Interval {
    double low = 0;
    double high = 0;
};
Interval ProportionInterval(std::uint64_t k, std::uint64_t n);
Interval MeanInterval(std::uint64_t n, double sum, double sumOfSquares);

// German number texts: "12,3457 %" (enough digits for small values), "1 zu 54.201" for a
// probability p (rounded 1/p with thousands dots; "1 zu 56,7" below 100), thousands "13.983.816".
std::string FormatPercent(double probability);
std::string FormatOneIn(double probability);

}  // namespace losfix
