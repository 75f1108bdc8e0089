#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/common/StringGrid.h"
#include "core/eval/LottoEvaluation.h"
#include "core/eval/LottoOddsEngine.h"
#include "core/eval/SampleRandom.h"

namespace losfix {
namespace {

LottoRows RowsOf(int poolSize, const std::vector<std::vector<int>>& numbers) {
    LottoRows rows;
    rows.poolSize = poolSize;
    rows.rowSize = static_cast<int>(numbers.front().size());
    for (const auto& row : numbers) {
        NumberSet set;
        for (const int n : row) {
            set.add(n);
        }
        rows.rows.push_back(set);
        rows.tableRow.push_back(static_cast<int>(rows.tableRow.size()) + 1);
    }
    return rows;
}

std::vector<int> Members(const NumberSet& set) {
    std::vector<int> members;
    set.forEach([&](int n) { members.push_back(n); });
    return members;
}

// The literal reference: every draw of `size` from 1..poolSize, in lexicographic order, against
// every row, the hits counted bit by bit.
LottoOdds ReferenceOdds(const LottoRows& rows, int size) {
    const int top = std::min(rows.rowSize, size);
    LottoOdds odds;
    odds.bestRow.assign(static_cast<std::size_t>(top + 1), 0);
    odds.anyRow = odds.bestRow;
    odds.rowsTotal = odds.bestRow;
    odds.rowsSquares.assign(static_cast<std::size_t>(top + 1), 0.0);
    std::vector<std::uint64_t> masks;  // small pools only: numbers 1..63
    for (const NumberSet& row : rows.rows) {
        masks.push_back(row.lowBits());
    }
    std::vector<int> draw(static_cast<std::size_t>(size));
    std::iota(draw.begin(), draw.end(), 1);
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(top + 1));
    for (;;) {
        std::uint64_t drawn = 0;
        for (const int n : draw) {
            drawn |= std::uint64_t{1} << n;
        }
        std::fill(counts.begin(), counts.end(), 0);
        for (const std::uint64_t row : masks) {
            int hits = 0;
            for (std::uint64_t both = row & drawn; both != 0; both &= both - 1) {
                ++hits;
            }
            ++counts[static_cast<std::size_t>(hits)];
        }
        int best = top;
        while (counts[static_cast<std::size_t>(best)] == 0) {
            --best;
        }
        ++odds.bestRow[static_cast<std::size_t>(best)];
        for (std::size_t h = 0; h < counts.size(); ++h) {
            odds.anyRow[h] += counts[h] > 0 ? 1 : 0;
            odds.rowsTotal[h] += counts[h];
            odds.rowsSquares[h] += static_cast<double>(counts[h] * counts[h]);
        }
        ++odds.draws;
        int i = size - 1;
        while (i >= 0 && draw[static_cast<std::size_t>(i)] == rows.poolSize - (size - 1 - i)) {
            --i;
        }
        if (i < 0) {
            return odds;
        }
        ++draw[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < size; ++j) {
            draw[static_cast<std::size_t>(j)] = draw[static_cast<std::size_t>(j - 1)] + 1;
        }
    }
}

void ExpectSameOdds(const LottoOdds& actual, const LottoOdds& expected, const std::string& what) {
    EXPECT_EQ(actual.draws, expected.draws) << what;
    EXPECT_EQ(actual.bestRow, expected.bestRow) << what;
    EXPECT_EQ(actual.anyRow, expected.anyRow) << what;
    EXPECT_EQ(actual.rowsTotal, expected.rowsTotal) << what;
    EXPECT_EQ(actual.rowsSquares, expected.rowsSquares) << what;
}

// Rows of `rowSize` from 1..poolSize that all hold the given bankers, as the generator makes
// them; some rows repeat, as rows of a loaded file may.
LottoRows RandomBoard(std::mt19937& engine, int poolSize, int rowSize, int rowCount, int bankers) {
    std::vector<int> pool(static_cast<std::size_t>(poolSize));
    std::iota(pool.begin(), pool.end(), 1);
    std::shuffle(pool.begin(), pool.end(), engine);
    const std::vector<int> fixed(pool.begin(), pool.begin() + bankers);
    std::vector<int> rest(pool.begin() + bankers, pool.end());
    std::vector<std::vector<int>> rows;
    for (int r = 0; r < rowCount; ++r) {
        std::shuffle(rest.begin(), rest.end(), engine);
        std::vector<int> row = fixed;
        row.insert(row.end(), rest.begin(), rest.begin() + (rowSize - bankers));
        if (!rows.empty() && engine() % 8 == 0) {
            row = rows[engine() % rows.size()];
        }
        rows.push_back(row);
    }
    return RowsOf(poolSize, rows);
}

// ---- Exact odds ----------------------------------------------------------------------------

TEST(LottoOddsTest, OneRowOfSixFromFortyNineGivesTheHypergeometricCounts) {
    const LottoRows rows = RowsOf(49, {{3, 12, 19, 27, 33, 41}});
    ASSERT_TRUE(LottoOddsExactFeasible(rows, 6));
    EvalControl control;
    const LottoOdds odds = ComputeLottoOdds(rows, 6, control, 1);
    EXPECT_TRUE(odds.exact);
    EXPECT_FALSE(odds.stopped);
    EXPECT_EQ(odds.draws, 13'983'816U);
    const std::vector<std::uint64_t> expected = {6'096'454, 5'775'588, 1'851'150, 246'820,
                                                 13'545,    258,       1};
    EXPECT_EQ(odds.bestRow, expected);
    EXPECT_EQ(odds.anyRow, expected);
    EXPECT_EQ(odds.rowsTotal, expected);
    EXPECT_EQ(control.done.load(), 13'983'816U);
    EXPECT_EQ(control.total.load(), 13'983'816U);
    EXPECT_EQ(FormatOneIn(static_cast<double>(odds.bestRow[3]) / 13'983'816.0), "1 zu 56,7");
    EXPECT_EQ(FormatOneIn(static_cast<double>(odds.bestRow[6]) / 13'983'816.0), "1 zu 13.983.816");
}

TEST(LottoOddsTest, AllRowsOfASmallPoolGiveExactlyOneTopRowPerDraw) {
    // Every 5 of 13 as a row, drawn 5 of 13: each draw is exactly one of the rows.
    std::vector<std::vector<int>> all;
    std::vector<int> row = {1, 2, 3, 4, 5};
    for (;;) {
        all.push_back(row);
        int i = 4;
        while (i >= 0 && row[static_cast<std::size_t>(i)] == 13 - (4 - i)) {
            --i;
        }
        if (i < 0) {
            break;
        }
        ++row[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < 5; ++j) {
            row[static_cast<std::size_t>(j)] = row[static_cast<std::size_t>(j - 1)] + 1;
        }
    }
    const LottoRows rows = RowsOf(13, all);
    ASSERT_EQ(rows.rows.size(), 1287U);
    EvalControl control;
    const LottoOdds odds = ComputeLottoOdds(rows, 5, control, 1);
    ASSERT_TRUE(odds.exact);
    EXPECT_EQ(odds.draws, 1287U);
    EXPECT_EQ(odds.bestRow[5], 1287U);
    EXPECT_EQ(odds.anyRow[5], 1287U);
    EXPECT_EQ(odds.rowsTotal[5], 1287U);
    EXPECT_EQ(odds.rowsSquares[5], 1287.0);
    // A draw shares h numbers with C(5,h) * C(8,5-h) of the rows.
    EXPECT_EQ(odds.rowsTotal[2], 1287U * 10 * 56);
    EXPECT_EQ(odds.rowsSquares[2], 1287.0 * 560 * 560);
}

TEST(LottoOddsTest, RandomBoardsMatchTheLiteralReference) {
    std::mt19937 engine(20240617);
    struct Shape {
        int pool, rowSize, drawSize, boards;
    };
    // The larger shapes (tens of thousands of draws) get fewer boards.
    const std::vector<Shape> shapes = {
        {20, 6, 6, 3},   {25, 5, 5, 2},  {20, 3, 8, 1},  {20, 10, 6, 3},  {18, 8, 7, 2},
        {16, 9, 8, 2},   {12, 4, 3, 50}, {22, 7, 4, 6},  {10, 10, 3, 30}, {9, 3, 9, 20},
        {15, 15, 5, 20}, {14, 6, 1, 30}, {11, 5, 2, 30}, {18, 16, 6, 4},  {12, 6, 6, 40},
        {14, 4, 7, 12},  {8, 5, 4, 40},  {13, 7, 5, 11}, {10, 4, 4, 14}};
    int boards = 0;
    for (const Shape& shape : shapes) {
        for (int board = 0; board < shape.boards; ++board) {
            const int rowCount = 1 + static_cast<int>(engine() % 40);
            const int bankers = static_cast<int>(engine() % 3) % shape.rowSize;
            const LottoRows rows =
                RandomBoard(engine, shape.pool, shape.rowSize, rowCount, bankers);
            const LottoOdds expected = ReferenceOdds(rows, shape.drawSize);
            const std::string what = std::to_string(shape.rowSize) + " of " +
                                     std::to_string(shape.pool) + ", draws of " +
                                     std::to_string(shape.drawSize) + ", " +
                                     std::to_string(rowCount) + " rows";
            for (const auto method : {eval::LottoMethod::Compare, eval::LottoMethod::SubsetSums}) {
                eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, shape.drawSize);
                plan.exactMethod = method;
                EvalControl control;
                const LottoOdds odds =
                    eval::EnumerateLottoOdds(rows, shape.drawSize, control, plan, board);
                ExpectSameOdds(odds, expected, what);
                EXPECT_TRUE(odds.exact) << what;
                EXPECT_EQ(control.done.load(), expected.draws) << what;
            }
            ++boards;
        }
    }
    EXPECT_EQ(boards, 320);
}

TEST(LottoOddsTest, BothMethodsAgreeOnBoardsTooLargeForTheReference) {
    // Over a thousand rows: the tables are built by both threads; rows of 5 keep the whole draws
    // in a sorted list, rows of 7 in a table.
    std::mt19937 engine(4);
    for (const int rowSize : {5, 7}) {
        const LottoRows rows = RandomBoard(engine, 24, rowSize, 1100, 1);
        eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, 5);
        std::vector<LottoOdds> results;
        for (const auto method : {eval::LottoMethod::Compare, eval::LottoMethod::SubsetSums}) {
            plan.exactMethod = method;
            EvalControl control;
            results.push_back(eval::EnumerateLottoOdds(rows, 5, control, plan, 7));
        }
        ExpectSameOdds(results[1], results[0], "rows of " + std::to_string(rowSize));
        EXPECT_EQ(results[0].draws, 42'504U);
        // Each row shares h numbers with C(k,h) C(24-k, 5-h) of the draws.
        const auto k = static_cast<std::uint64_t>(rowSize);
        EXPECT_EQ(results[1].rowsTotal[2], 1100U * (k * (k - 1) / 2) * Binomial(24 - rowSize, 3));
    }
}

TEST(LottoOddsTest, AStoppedEnumerationIsReportedAsASample) {
    const LottoRows rows = RowsOf(49, {{1, 2, 3, 4, 5, 6}});
    EvalControl control;
    control.stop = true;
    const LottoOdds odds = ComputeLottoOdds(rows, 6, control, 1);
    EXPECT_TRUE(odds.stopped);
    EXPECT_FALSE(odds.exact);
    EXPECT_LT(odds.draws, 13'983'816U);
    EXPECT_EQ(std::accumulate(odds.bestRow.begin(), odds.bestRow.end(), std::uint64_t{0}),
              odds.draws);
}

TEST(LottoOddsTest, NothingIsCountedFromRowsOrDrawSizesThatCannotBe) {
    EvalControl control;
    LottoRows none;
    EXPECT_EQ(ComputeLottoOdds(none, 6, control, 1).draws, 0U);
    const LottoRows rows = RowsOf(10, {{1, 2, 3}});
    for (const int size : {0, 11, 21}) {
        const LottoOdds odds = ComputeLottoOdds(rows, size, control, 1, 1000, true);
        EXPECT_EQ(odds.draws, 0U) << size;
        EXPECT_FALSE(odds.exact) << size;
        EXPECT_TRUE(odds.bestRow.empty()) << size;
    }
}

// ---- Sampling ------------------------------------------------------------------------------

void ExpectCoveredBySample(const LottoOdds& exact, const LottoOdds& sample,
                           const EvalControl& control);

TEST(LottoOddsTest, ASampleCoversTheExactFiguresWithItsIntervals) {
    std::mt19937 engine(7);
    const LottoRows rows = RandomBoard(engine, 30, 6, 25, 1);
    EvalControl exactControl;
    const LottoOdds exact = ComputeLottoOdds(rows, 6, exactControl, 1, 0, true);
    ASSERT_TRUE(exact.exact);
    for (const auto method : {eval::LottoMethod::Compare, eval::LottoMethod::SubsetSums}) {
        SCOPED_TRACE(method == eval::LottoMethod::Compare ? "compared" : "looked up");
        eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, 6);
        plan.sampleMethod = method;
        EvalControl control;
        const LottoOdds sample = eval::SampleLottoOdds(rows, 6, control, plan, 99, 400'000);
        ExpectCoveredBySample(exact, sample, control);
    }
}

void ExpectCoveredBySample(const LottoOdds& exact, const LottoOdds& sample,
                           const EvalControl& control) {
    EXPECT_FALSE(sample.exact);
    EXPECT_FALSE(sample.stopped);
    EXPECT_EQ(sample.draws, 400'000U);
    EXPECT_EQ(control.done.load(), 400'000U);
    // Each estimate lies within four standard errors; most 95 % intervals cover the truth.
    const double all = static_cast<double>(exact.draws);
    const double n = static_cast<double>(sample.draws);
    int covered = 0;
    for (std::size_t h = 0; h < exact.bestRow.size(); ++h) {
        const double p = static_cast<double>(exact.bestRow[h]) / all;
        EXPECT_NEAR(static_cast<double>(sample.bestRow[h]) / n, p,
                    4 * std::sqrt(p * (1 - p) / n) + 1e-12)
            << h;
        const Interval best = ProportionInterval(sample.bestRow[h], sample.draws);
        covered += best.low <= p && p <= best.high ? 1 : 0;
        const double mean = static_cast<double>(exact.rowsTotal[h]) / all;
        const double variance = exact.rowsSquares[h] / all - mean * mean;
        EXPECT_NEAR(static_cast<double>(sample.rowsTotal[h]) / n, mean,
                    4 * std::sqrt(variance / n) + 1e-12)
            << h;
        const Interval rows = MeanInterval(sample.draws, static_cast<double>(sample.rowsTotal[h]),
                                           sample.rowsSquares[h]);
        covered += rows.low <= mean && mean <= rows.high ? 1 : 0;
        if (mean * n >= 1000) {  // rarer classes give a rough sample variance
            EXPECT_NEAR(rows.high - rows.low, 2 * 1.96 * std::sqrt(variance / n),
                        0.1 * std::sqrt(variance / n))
                << h;
        }
    }
    EXPECT_GE(covered, 2 * static_cast<int>(exact.bestRow.size()) - 3);
}

TEST(LottoOddsTest, SampledDrawsAreDistinctNumbersOfThePoolEquallyOften) {
    eval::SampleRandom random(5);
    std::vector<int> seen(91, 0);
    for (int i = 0; i < 90'000; ++i) {
        const NumberSet draw = random.draw(90, 20);
        ASSERT_EQ(draw.count(), 20);
        ASSERT_FALSE(draw.contains(0));
        ASSERT_FALSE(draw.contains(91));
        draw.forEach([&](int n) { ++seen[static_cast<std::size_t>(n)]; });
    }
    // Each number is drawn 20,000 times on average; four standard deviations are about 500.
    for (int n = 1; n <= 90; ++n) {
        EXPECT_NEAR(seen[static_cast<std::size_t>(n)], 20'000, 500) << n;
    }
}

TEST(LottoOddsTest, LargeDrawsFromLargePoolsAreSampled) {
    std::mt19937 engine(3);
    const LottoRows keno = RandomBoard(engine, 70, 10, 100, 0);
    EXPECT_FALSE(LottoOddsExactFeasible(keno, 20));
    EvalControl control;
    const LottoOdds odds = ComputeLottoOdds(keno, 20, control, 11, 20'000);
    EXPECT_FALSE(odds.exact);
    EXPECT_EQ(odds.draws, 20'000U);
    EXPECT_EQ(odds.bestRow.size(), 11U);
    EXPECT_EQ(std::accumulate(odds.bestRow.begin(), odds.bestRow.end(), std::uint64_t{0}), 20'000U);
    EXPECT_EQ(std::accumulate(odds.rowsTotal.begin(), odds.rowsTotal.end(), std::uint64_t{0}),
              20'000U * 100);
    EXPECT_EQ(control.total.load(), 20'000U);
    EXPECT_EQ(control.done.load(), 20'000U);
    // Stopped before it began: a sample of nothing, said so.
    EvalControl stopped;
    stopped.stop = true;
    const LottoOdds none = ComputeLottoOdds(keno, 20, stopped, 11);
    EXPECT_TRUE(none.stopped);
    EXPECT_FALSE(none.exact);
    EXPECT_EQ(none.draws, 0U);
    EXPECT_EQ(stopped.total.load(), 10'000'000U);
}

// ---- Stopping and progress ----------------------------------------------------------------

// Stops a computation on its own thread at the first step after which `reached` holds, and
// keeps the counters of that moment.
class StopAtStep {
public:
    template <typename Reached>
    explicit StopAtStep(Reached reached) {
        control.afterStep = [this, reached] {
            if (reached(control) && !control.stop.exchange(true)) {
                doneAtStop = control.done.load();
                preparedAtStop = control.prepared.load();
            }
        };
    }
    bool stopped() const { return control.stop.load(); }
    std::uint64_t doneAfterStop() const { return control.done.load() - doneAtStop; }
    std::uint64_t preparedAfterStop() const { return control.prepared.load() - preparedAtStop; }

    EvalControl control;
    std::uint64_t doneAtStop = 0;
    std::uint64_t preparedAtStop = 0;
};

bool DrawsMoved(const EvalControl& control) {
    return control.done.load() > 0;
}

LottoRows RandomRows(std::uint32_t seed, int poolSize, int rowSize, int rowCount) {
    std::mt19937 engine(seed);
    return RandomBoard(engine, poolSize, rowSize, rowCount, 0);
}

void ExpectStoppedSample(const LottoOdds& odds, const EvalControl& control) {
    EXPECT_TRUE(odds.stopped);
    EXPECT_FALSE(odds.exact);
    // Every draw counted is in the figures, and nothing else.
    EXPECT_EQ(odds.draws, control.done.load());
    EXPECT_EQ(std::accumulate(odds.bestRow.begin(), odds.bestRow.end(), std::uint64_t{0}),
              odds.draws);
    EXPECT_LT(odds.draws, control.total.load());
}

TEST(LottoStopTest, BuildingTheTablesStopsWithinAStep) {
    // 16 numbers a row: 14,892 subsets each to count before the first draw, seconds of work.
    // Stopped while clearing the tables, while counting the rows, and while merging the list
    // of whole draws (rows of 8 from 60).
    struct Case {
        int pool, rowSize, rowCount;
        double stopAt;  // share of the tables' work
    };
    for (const Case c : {Case{49, 16, 1500, 0.0}, Case{49, 16, 1500, 0.3}, Case{60, 8, 40'000, 0.5},
                         Case{60, 8, 40'000, 0.95}}) {
        SCOPED_TRACE(std::to_string(c.rowSize) + " of " + std::to_string(c.pool) + " at " +
                     std::to_string(c.stopAt));
        const LottoRows rows = RandomRows(5, c.pool, c.rowSize, c.rowCount);
        eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, 6);
        plan.exactMethod = eval::LottoMethod::SubsetSums;
        StopAtStep stop([&c](const EvalControl& control) {
            return static_cast<double>(control.prepared.load()) >=
                   c.stopAt * static_cast<double>(control.preparing.load());
        });
        const LottoOdds odds = eval::EnumerateLottoOdds(rows, 6, stop.control, plan, 3);
        ASSERT_TRUE(stop.stopped());
        EXPECT_TRUE(odds.stopped);
        EXPECT_EQ(odds.draws, 0U);
        EXPECT_EQ(stop.control.done.load(), 0U);
        EXPECT_EQ(odds.bestRow.size(), 7U);
        // Each thread finishes at most the step it is in: a few milliseconds of work, where
        // the whole takes seconds.
        EXPECT_LE(stop.preparedAfterStop(), 8'000'000U);
        EXPECT_GT(stop.control.preparing.load(), 50'000'000U);
    }
}

TEST(LottoStopTest, CountingEveryDrawStopsWithinAStep) {
    // Draws of 3 from 90 are one block of 117,480 draws, counted by one thread: by sums of
    // subset counts, and by comparing each draw with 20,000 rows.
    for (const auto method : {eval::LottoMethod::SubsetSums, eval::LottoMethod::Compare}) {
        const bool compare = method == eval::LottoMethod::Compare;
        SCOPED_TRACE(compare ? "compared" : "subset sums");
        const LottoRows rows = RandomRows(6, 90, 6, compare ? 20'000 : 2000);
        eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, 3);
        plan.exactMethod = method;
        StopAtStep stop(DrawsMoved);
        const LottoOdds odds = eval::EnumerateLottoOdds(rows, 3, stop.control, plan, 3);
        ExpectStoppedSample(odds, stop.control);
        if (compare) {
            // Rows compared with a draw after the stop: a few milliseconds of work.
            EXPECT_LE(stop.doneAfterStop() * 20'000, 8'000'000U);
        } else {
            EXPECT_LE(stop.doneAfterStop(), 2U * (4096 + 4005));
        }
    }
}

TEST(LottoStopTest, SamplingStopsWithinAStep) {
    // Draws of 20 from 90: a draw has 6,195 subsets of up to 4 numbers to look up, and each
    // draw is compared with 20,000 rows of 16.
    struct Case {
        int rowSize, rowCount;
        eval::LottoMethod method;
        std::uint64_t workPerDraw;
    };
    for (const Case c : {Case{4, 3000, eval::LottoMethod::SubsetSums, 6195},
                         Case{16, 20'000, eval::LottoMethod::Compare, 20'000}}) {
        SCOPED_TRACE(c.rowSize);
        const LottoRows rows = RandomRows(8, 90, c.rowSize, c.rowCount);
        eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, 20);
        plan.sampleMethod = c.method;
        StopAtStep stop(DrawsMoved);
        const LottoOdds odds = eval::SampleLottoOdds(rows, 20, stop.control, plan, 3, 10'000'000);
        ExpectStoppedSample(odds, stop.control);
        EXPECT_LE(stop.doneAfterStop() * c.workPerDraw, 8'000'000U);
    }
}

// The progress as a computation reports it, after every step.
std::vector<int> ProgressOf(const LottoRows& rows, int drawSize, bool exact) {
    std::vector<int> progress;
    std::mutex mutex;
    EvalControl control;
    control.afterStep = [&] {
        const std::lock_guard lock(mutex);
        progress.push_back(ProgressPermille(control));
    };
    const LottoOdds odds = exact ? ComputeLottoOdds(rows, drawSize, control, 1, 0, true)
                                 : ComputeLottoOdds(rows, drawSize, control, 1, 200'000);
    EXPECT_FALSE(odds.stopped);
    return progress;
}

TEST(LottoStopTest, TheProgressMovesInSmallStepsToTheEnd) {
    // Counting the subsets of the rows is most of the work here: it moves the progress too.
    for (const bool exact : {true, false}) {
        SCOPED_TRACE(exact ? "every draw" : "sampled");
        const std::vector<int> progress = ProgressOf(RandomRows(9, 40, 16, 500), 6, exact);
        ASSERT_GT(progress.size(), 100U);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_LE(progress.front(), 20);
        EXPECT_EQ(progress.back(), 1000);
        int largest = 0;
        for (std::size_t i = 1; i < progress.size(); ++i) {
            largest = std::max(largest, progress[i] - progress[i - 1]);
        }
        EXPECT_LE(largest, 30);
    }
}

TEST(LottoStopTest, ProgressWeighsTheTablesByTheirShare) {
    EvalControl control;
    EXPECT_EQ(ProgressPermille(control), 0);
    control.total = 1000;
    control.done = 250;
    EXPECT_EQ(ProgressPermille(control), 250);
    control.preparing = 400;
    control.prepared = 200;
    control.prepareShare = 800;
    EXPECT_EQ(ProgressPermille(control), 400 + 50);
    control.prepared = 400;
    control.done = 1000;
    EXPECT_EQ(ProgressPermille(control), 1000);
    control.done = 2000;  // never past the end
    EXPECT_EQ(ProgressPermille(control), 1000);
}

TEST(LottoStopTest, SampledLookupsNeverNeedAListOfBillionsOfSubsets) {
    // 99,999 rows of 16 from 90 hold 800 million subsets of 6: the sample compares instead.
    const LottoRows rows = RandomRows(10, 90, 16, 99'999);
    EXPECT_EQ(eval::PlanLottoOdds(rows, 6).sampleMethod, eval::LottoMethod::Compare);
    // 1,000 such rows hold 8 million: a list of 100 MB, still looked up.
    EXPECT_EQ(eval::PlanLottoOdds(RandomRows(10, 90, 16, 1000), 6).sampleMethod,
              eval::LottoMethod::SubsetSums);
}

// ---- Reading rows and draws ----------------------------------------------------------------

StringGrid Table(const std::vector<std::vector<std::string>>& rows) {
    StringGrid table(17, static_cast<int>(rows.size()) + 1, 1, 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> cells = {std::to_string(r + 1)};
        cells.insert(cells.end(), rows[r].begin(), rows[r].end());
        table.setRowCells(static_cast<int>(r) + 1, cells);
    }
    return table;
}

TEST(LottoInputTest, RowsAreReadFromTheTableOrRefusedWithTheRowNamed) {
    const auto rows = ReadLottoRows(
        Table({{"3", "12", "19", "27", "33", "41"}, {}, {" 1", "2 ", "3", "4", "5", "49"}, {}}),
        49);
    ASSERT_TRUE(std::holds_alternative<LottoRows>(rows));
    const LottoRows& read = std::get<LottoRows>(rows);
    EXPECT_EQ(read.rowSize, 6);
    EXPECT_EQ(read.tableRow, (std::vector<int>{1, 3}));
    EXPECT_EQ(Members(read.rows[1]), (std::vector<int>{1, 2, 3, 4, 5, 49}));

    const auto message = [](const StringGrid& table, int pool) {
        const auto result = ReadLottoRows(table, pool);
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "rows";
    };
    EXPECT_EQ(message(Table({{}, {}}), 49),
              "Die Tabelle enthält keine Reihe, die ausgewertet werden kann.");
    EXPECT_EQ(message(StringGrid(17, 1, 1, 1), 49),
              "Die Tabelle enthält keine Reihe, die ausgewertet werden kann.");
    EXPECT_EQ(message(Table({{"1", "2", "3"}, {"4", "50", "6"}}), 49),
              "Reihe 2 enthält \"50\", keine Zahl von 1 bis 49.");
    EXPECT_EQ(message(Table({{"1", "x7", "3"}}), 49),
              "Reihe 1 enthält \"x7\", keine Zahl von 1 bis 49.");
    EXPECT_EQ(message(Table({{"0", "2", "3"}}), 49),
              "Reihe 1 enthält \"0\", keine Zahl von 1 bis 49.");
    EXPECT_EQ(message(Table({{"1", "2", "3"}, {"4", "5", "5"}}), 49),
              "Reihe 2 enthält die Zahl 5 zweimal.");
    EXPECT_EQ(message(Table({{"1", "2", "3"}, {}, {"4", "5"}}), 49),
              "Reihe 3 hat 2 Zahlen, Reihe 1 hat 3. Ausgewertet werden nur Reihen mit gleich "
              "vielen Zahlen.");
    // A row written for a larger pool is refused, not cut.
    EXPECT_EQ(message(Table({{"1", "2", "45"}}), 35),
              "Reihe 1 enthält \"45\", keine Zahl von 1 bis 35.");
}

TEST(LottoInputTest, DrawsAreParsedOrRefusedWithTheEntryNamed) {
    const auto draw = ParseLottoDraw(" 41;3, 12  19,27 33 ", "7", 49, 6);
    ASSERT_TRUE(std::holds_alternative<LottoDraw>(draw));
    EXPECT_EQ(std::get<LottoDraw>(draw).numbers, (std::vector<int>{3, 12, 19, 27, 33, 41}));
    EXPECT_EQ(std::get<LottoDraw>(draw).additional, 7);
    EXPECT_EQ(std::get<LottoDraw>(ParseLottoDraw("5", " ", 35, 1)).additional, 0);

    const auto message = [](std::string_view numbers, std::string_view extra, int pool, int size) {
        const auto result = ParseLottoDraw(numbers, extra, pool, size);
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "draw";
    };
    EXPECT_EQ(message("3 12 19 27 33 50", "", 49, 6),
              "Die Zahl 50 liegt nicht in der Zahlenmenge von 1 bis 49.");
    EXPECT_EQ(message("3 12 19 27 33 0", "", 49, 6),
              "Die Zahl 0 liegt nicht in der Zahlenmenge von 1 bis 49.");
    EXPECT_EQ(message("3 12 19 27 33 99999999999999999999", "", 49, 6),
              "Die Zahl 99999999999999999999 liegt nicht in der Zahlenmenge von 1 bis 49.");
    EXPECT_EQ(message("3 12 19 -27 33 41", "", 49, 6),
              "\"-27\" ist keine Zahl. Trennen Sie die gezogenen Zahlen durch Leerzeichen, "
              "Kommas oder Semikolons.");
    EXPECT_EQ(message("3 12 19 12 33 41", "", 49, 6), "Die Zahl 12 ist zweimal angegeben.");
    EXPECT_EQ(message("3 12 19 27 33", "", 49, 6),
              "Es sind 5 Zahlen angegeben, gezogen werden 6 Zahlen.");
    EXPECT_EQ(message("3", "", 49, 6), "Es ist 1 Zahl angegeben, gezogen werden 6 Zahlen.");
    EXPECT_EQ(message("3 4", "", 49, 1), "Es sind 2 Zahlen angegeben, gezogen wird 1 Zahl.");
    EXPECT_EQ(message(" ,; ", "", 49, 6), "Geben Sie die 6 gezogenen Zahlen ein.");
    EXPECT_EQ(message("1 2 3", "", 2, 3),
              "Aus einer Zahlenmenge von 2 Zahlen können nicht 3 Zahlen gezogen werden.");
    EXPECT_EQ(message("1", "", 49, 21),
              "Gezogen werden können 1 bis 20 Zahlen, eingestellt sind 21.");
    EXPECT_EQ(message("1 2 3 4 5 6", "6", 49, 6),
              "Die Zusatzzahl 6 ist schon unter den gezogenen Zahlen.");
    EXPECT_EQ(message("1 2 3 4 5 6", "50", 49, 6),
              "Die Zusatzzahl 50 liegt nicht in der Zahlenmenge von 1 bis 49.");
    EXPECT_EQ(message("1 2 3 4 5 6", "7 8", 49, 6), "Geben Sie nur eine Zusatzzahl ein.");
    EXPECT_EQ(message("1 2 3 4 5 6", "sieben", 49, 6), "Die Zusatzzahl \"sieben\" ist keine Zahl.");
    // A long entry is quoted shortened.
    EXPECT_EQ(message(std::string(60, 'x'), "", 49, 6),
              "\"" + std::string(40, 'x') +
                  "…\" ist keine Zahl. Trennen Sie die gezogenen Zahlen durch Leerzeichen, "
                  "Kommas oder Semikolons.");
}

TEST(LottoInputTest, DefaultDrawSize) {
    EXPECT_EQ(DefaultDrawSize(6, 49), 6);
    EXPECT_EQ(DefaultDrawSize(10, 49), 6);
    EXPECT_EQ(DefaultDrawSize(3, 49), 3);
    EXPECT_EQ(DefaultDrawSize(0, 49), 6);
    EXPECT_EQ(DefaultDrawSize(6, 4), 4);
}

// ---- Hits for one draw ---------------------------------------------------------------------

TEST(LottoHitsTest, HitsPerRowAndTheSummaryOfThePossibleClasses) {
    const LottoRows rows = RowsOf(49, {{3, 12, 19, 27, 33, 41},
                                       {1, 2, 3, 4, 5, 6},
                                       {3, 12, 19, 27, 33, 40},
                                       {3, 12, 19, 20, 21, 22},
                                       {7, 8, 9, 10, 11, 13}});
    const LottoDraw draw{{3, 12, 19, 27, 33, 41}, 40};
    const LottoHits hits = CountLottoHits(rows, draw);
    EXPECT_EQ(hits.hits, (std::vector<std::uint8_t>{6, 1, 5, 3, 0}));
    EXPECT_EQ(hits.additional, (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(hits.rowsWithHits[6], 1U);
    EXPECT_EQ(hits.rowsWithHits[0], 1U);
    EXPECT_EQ(LottoHitSummary(hits, 6, 6, 49, 3),
              "6 Richtige: 1 Reihe · 5 Richtige: 1 Reihe · 4 Richtige: 0 Reihen · 3 Richtige: "
              "1 Reihe");
    // Rows of 10 in draws of 6 reach 6 at most; a pool of 12 forces at least 4 hits.
    LottoHits many;
    many.rowsWithHits[6] = 1234;
    EXPECT_EQ(LottoHitSummary(many, 10, 6, 12, 1),
              "6 Richtige: 1.234 Reihen · 5 Richtige: 0 Reihen · 4 Richtige: 0 Reihen");
    // A class above the draw size is never offered.
    EXPECT_EQ(LottoHitSummary(many, 6, 2, 49, 3), "2 Richtige: 0 Reihen");
}

// ---- Numbers as the windows show them ------------------------------------------------------

TEST(EvalFormatTest, PercentAndOneInTexts) {
    EXPECT_EQ(FormatPercent(0.123456789), "12,3457 %");
    EXPECT_EQ(FormatPercent(246820.0 / 13983816.0), "1,7650 %");
    EXPECT_EQ(FormatPercent(1.0 / 13983816.0), "0,000007151 %");
    EXPECT_EQ(FormatPercent(0.0), "0 %");
    EXPECT_EQ(FormatPercent(1.0), "100 %");
    EXPECT_EQ(FormatPercent(1.0 - 2e-9), "99,9999998000 %");
    EXPECT_EQ(FormatOneIn(1.0 / 54201.3), "1 zu 54.201");
    EXPECT_EQ(FormatOneIn(1.0 / 99.99), "1 zu 100");
    EXPECT_EQ(FormatOneIn(0.5), "1 zu 2,0");
    EXPECT_EQ(FormatOneIn(0.0), "–");
}

TEST(EvalFormatTest, Intervals) {
    const Interval none = ProportionInterval(0, 10'000'000);
    EXPECT_EQ(none.low, 0.0);
    EXPECT_NEAR(none.high, 3.84e-7, 0.01e-7);
    const Interval half = ProportionInterval(50, 100);
    EXPECT_NEAR(half.low, 0.4038, 1e-4);
    EXPECT_NEAR(half.high, 0.5962, 1e-4);
    // Values 0 and 2, each 50 times: mean 1, standard deviation about 1.005.
    const Interval mean = MeanInterval(100, 100.0, 200.0);
    EXPECT_NEAR(mean.low, 1.0 - 1.96 * 1.005 / 10.0, 1e-3);
    EXPECT_NEAR(mean.high, 1.0 + 1.96 * 1.005 / 10.0, 1e-3);
}

TEST(EvalFormatTest, BinomialSaturates) {
    EXPECT_EQ(Binomial(49, 6), 13'983'816U);
    EXPECT_EQ(Binomial(70, 20), 161'884'603'662'657'876ULL);
    EXPECT_EQ(Binomial(90, 20), UINT64_MAX);
    EXPECT_EQ(Binomial(96, 48), UINT64_MAX);
    EXPECT_EQ(Binomial(5, 6), 0U);
}

}  // namespace
}  // namespace losfix
