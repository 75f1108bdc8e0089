#include <benchmark/benchmark.h>

#include "core/common/Random.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"
#include "core/rows/GridSort.h"

namespace {

using namespace losfix;

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

// A row table of generated rows (6 of 49, no congruence limit) to sort.
StringGrid GeneratedTable(int rows) {
    Board board;
    RunSettings settings;
    settings.requestedRows = rows;
    const Drum drum = BuildDrum(board.statuses(), settings.poolSize);
    StringGrid table = MakeRowTable(MeasureBySize);
    DrawCounts counts{};
    Random random(CountingSeedSource(7U, 0x9E3779B9U));
    RowGenerator(random, MeasureBySize).run(settings, drum, table, counts, nullptr);
    return table;
}

void BM_SortRowTable(benchmark::State& state) {
    const StringGrid generated = GeneratedTable(static_cast<int>(state.range(0)));
    const auto locale = MakeGermanSortLocale();
    StringGrid table;
    // Like the window's, the backup lives on from sort to sort.
    StringGrid backup;
    for (auto _ : state) {
        // Copying the table in and freeing the last one are not the sort's work.
        state.PauseTiming();
        table = generated;
        state.ResumeTiming();
        SortRowTable(table, 6, backup, *locale);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_SortRowTable)
    ->Arg(120)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(99999)
    ->Unit(benchmark::kMillisecond);

}  // namespace
