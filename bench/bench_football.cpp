#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "core/common/Random.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipGenerator.h"
#include "core/football/TipTable.h"

namespace {

using namespace losfix;

int TipMeasure(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

enum class Duplicates { CodeSet, ListScan };

// The rows at which a plain list scan of 99,999 rows is cut short: it grows with the square of
// the rows and takes tens of seconds for all of them. LOSFIX_BENCH_FULL_LIST_SCAN=1 adds the
// whole run.
constexpr int kListScanRows = 20000;

MatchBoard BoardWithPositions(int positionsPerMatch) {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= positionsPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position), TipStatus::TipFavI);
        }
    }
    return board;
}

// Seeds from the clock before every candidate, as the program does.
void RunCase(benchmark::State& state, const MatchBoard& board, int requested, int stopAtRows,
             Duplicates duplicates) {
    const MatchDrums drums = BuildMatchDrums(board.statuses());
    const TipYieldCallback yield = [stopAtRows](const TipRunProgress& progress) {
        return progress.acceptedRows >= stopAtRows;
    };
    TipRunOutcome outcome;
    for (auto _ : state) {
        state.PauseTiming();
        StringGrid table = MakeTipTable(TipMeasure);
        StringGrid matrix = MakeOutcomeMatrix(TipMeasure);
        OutcomeCounts counts{};
        Random random(ClockSeed);
        TipGenerator generator(random, TipMeasure);
        state.ResumeTiming();

        outcome = duplicates == Duplicates::CodeSet
                      ? generator.run(drums, requested, table, matrix, counts, yield)
                      : generator.runListScan(drums, requested, table, matrix, counts, yield);
        if (outcome.acceptedRows != std::min(requested, stopAtRows)) {
            state.SkipWithError("the run did not reach its row count");
            return;
        }
        benchmark::DoNotOptimize(table);
    }
    state.counters["rows"] = outcome.acceptedRows;
    state.counters["candidates"] = static_cast<double>(outcome.candidates);
}

// (f) 99,999 rows from all 39 outcomes (1,594,323 combinations).
void BM_Football_AllOutcomes_99999(benchmark::State& state) {
    RunCase(state, BoardWithPositions(3), 99999, 99999, Duplicates::CodeSet);
}

// (g) the same through the plain list scan, stopped after kListScanRows rows.
void BM_Football_AllOutcomes_99999_ListScan(benchmark::State& state) {
    RunCase(state, BoardWithPositions(3), 99999, kListScanRows, Duplicates::ListScan);
}

// The fast run stopped at the same row as (g), for a like-for-like ratio.
void BM_Football_AllOutcomes_99999_StoppedLikeListScan(benchmark::State& state) {
    RunCase(state, BoardWithPositions(3), 99999, kListScanRows, Duplicates::CodeSet);
}

// (h) 13 two-way matches (8,192 combinations), asked for all 8,192 rows.
void BM_Football_TwoWay_All8192(benchmark::State& state) {
    RunCase(state, BoardWithPositions(2), 8192, 8192, Duplicates::CodeSet);
}

void BM_Football_AllOutcomes_99999_ListScanFull(benchmark::State& state) {
    RunCase(state, BoardWithPositions(3), 99999, 99999, Duplicates::ListScan);
}

const bool kFullListScanRegistered = [] {
    if (std::getenv("LOSFIX_BENCH_FULL_LIST_SCAN") != nullptr) {
        benchmark::RegisterBenchmark("BM_Football_AllOutcomes_99999_ListScanFull",
                                     BM_Football_AllOutcomes_99999_ListScanFull)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}();

BENCHMARK(BM_Football_AllOutcomes_99999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Football_AllOutcomes_99999_ListScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Football_AllOutcomes_99999_StoppedLikeListScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Football_TwoWay_All8192)->Unit(benchmark::kMillisecond);

}  // namespace
