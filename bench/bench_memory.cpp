// The memory of the largest tables and what it costs a first run, when every page is new: each
// iteration starts after the freed memory went back to the system. Run one case per process for
// the resident figures (--benchmark_filter), as earlier cases leave memory behind.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchMemory.h"
#include "core/common/Random.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipGenerator.h"
#include "core/football/TipTable.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"

namespace {

using namespace losfix;
using losfix::bench::ResidentMiB;
using losfix::bench::ReturnFreeMemory;

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

// Runs `run` on the grid that `make` makes, each time on fresh memory; reports the resident
// memory after the last run and how much that run added. `run` returns the rows it wrote.
template <typename Make, typename Run>
void OnFreshMemory(benchmark::State& state, int rows, Make make, Run run) {
    double before = 0;
    double after = 0;
    std::unique_ptr<StringGrid> table;
    for (auto _ : state) {
        state.PauseTiming();
        table.reset();
        ReturnFreeMemory();
        table = std::make_unique<StringGrid>(make());
        before = ResidentMiB();
        state.ResumeTiming();

        const int written = run(*table);

        state.PauseTiming();
        after = ResidentMiB();
        if (written != rows) {
            state.SkipWithError("the run did not reach its row count");
            return;
        }
        state.ResumeTiming();
    }
    state.counters["rss_MiB"] = after;
    state.counters["run_MiB"] = after - before;
}

// (f) 99,999 tips from all 39 outcomes.
void BM_Football_AllOutcomes_99999_FreshMemory(benchmark::State& state) {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= kOutcomesPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position), TipStatus::TipFavI);
        }
    }
    const MatchDrums drums = BuildMatchDrums(board.statuses());
    StringGrid matrix = MakeOutcomeMatrix(MeasureBySize);
    OnFreshMemory(
        state, 99999, [] { return MakeTipTable(MeasureBySize); },
        [&](StringGrid& table) {
            OutcomeCounts counts{};
            Random random(ClockSeed);
            return TipGenerator(random, MeasureBySize)
                .run(drums, 99999, table, matrix, counts, nullptr)
                .acceptedRows;
        });
}
BENCHMARK(BM_Football_AllOutcomes_99999_FreshMemory)->Unit(benchmark::kMillisecond);

RunSettings Rows16Of90() {
    RunSettings settings;
    settings.requestedRows = 99999;
    settings.poolSize = 90;
    settings.rowSize = 16;
    return settings;
}

// 99,999 rows of 16 out of 90 without a congruence limit.
void BM_Rows16of90_99999_FreshMemory(benchmark::State& state) {
    const RunSettings settings = Rows16Of90();
    const Drum drum = BuildDrum(Board{}.statuses(), settings.poolSize);
    OnFreshMemory(
        state, settings.requestedRows, [] { return MakeRowTable(MeasureBySize); },
        [&](StringGrid& table) {
            DrawCounts counts{};
            Random random(ClockSeed);
            return RowGenerator(random, MeasureBySize)
                .run(settings, drum, table, counts, nullptr)
                .acceptedRows;
        });
}
BENCHMARK(BM_Rows16of90_99999_FreshMemory)->Unit(benchmark::kMillisecond);

// Every cell of that table read once, as a row file is written.
void BM_Rows16of90_99999_EncodeRowFile(benchmark::State& state) {
    const RunSettings settings = Rows16Of90();
    StringGrid table = MakeRowTable(MeasureBySize);
    DrawCounts counts{};
    Random random(CountingSeedSource(20240601U, 0x9E3779B9U));
    RowGenerator(random, MeasureBySize)
        .run(settings, BuildDrum(Board{}.statuses(), settings.poolSize), table, counts, nullptr);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = EncodeRowFile(table);
        bytes = file.size();
        benchmark::DoNotOptimize(file);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Rows16of90_99999_EncodeRowFile)->Unit(benchmark::kMillisecond);

}  // namespace
