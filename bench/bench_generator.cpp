#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/common/Random.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowColumns.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"

namespace {

using namespace losfix;

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

// LOSFIX_BENCH_INSTRUCTIONS=SSE2 (or AVX2, AVX-512) counts the congruence columns with that
// instruction set instead of the widest this processor has.
const bool kInstructionsChosen = [] {
    if (const char* name = std::getenv("LOSFIX_BENCH_INSTRUCTIONS")) {
        if (!RowColumns::useInstructionSet(name)) {
            std::fprintf(stderr, "unknown or unsupported instruction set: %s\n", name);
            std::exit(1);
        }
    }
    return true;
}();

bool NeverStop(const RunProgress&) {
    return false;
}

enum class Scan { Fast, Reference };

void RunCase(benchmark::State& state, const Board& board, const RunSettings& settings, Scan scan) {
    const Drum drum = BuildDrum(board.statuses(), settings.poolSize);
    const YieldCallback yield = NeverStop;
    std::uint64_t candidates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        StringGrid table = MakeRowTable(MeasureBySize);
        DrawCounts counts{};
        Random random(CountingSeedSource(20240601U, 0x9E3779B9U));
        RowGenerator generator(random, MeasureBySize);
        state.ResumeTiming();

        const RunOutcome outcome =
            scan == Scan::Fast ? generator.run(settings, drum, table, counts, yield)
                               : generator.runReference(settings, drum, table, counts, yield);
        if (outcome.acceptedRows != settings.requestedRows) {
            state.SkipWithError("the run did not reach its row count");
            return;
        }
        candidates = outcome.candidates;
        benchmark::DoNotOptimize(table);
    }
    state.counters["rows"] = settings.requestedRows;
    state.counters["candidates"] = static_cast<double>(candidates);
}

RunSettings SixOf49(int requested, int limit) {
    RunSettings settings;
    settings.requestedRows = requested;
    settings.poolSize = 49;
    settings.rowSize = 6;
    settings.congruenceLimit = limit;
    return settings;
}

void BM_SixOf49_AnyCongruence_120(benchmark::State& state) {
    RunCase(state, Board{}, SixOf49(120, kCongruenceMax), Scan::Fast);
}

void BM_SixOf49_Congruence4_50000(benchmark::State& state) {
    RunCase(state, Board{}, SixOf49(50000, 4), Scan::Fast);
}

void BM_SixOf49_Congruence3_5000(benchmark::State& state) {
    RunCase(state, Board{}, SixOf49(5000, 3), Scan::Fast);
}

void BM_TenOf90_Mixed_Congruence6_20000(benchmark::State& state) {
    Board board;
    for (int n = 1; n <= 90; ++n) {
        if (n % 13 == 3) {
            board.setStatus(n, NumberStatus::FavIII);
        } else if (n % 11 == 2) {
            board.setStatus(n, NumberStatus::FavII);
        } else if (n % 7 == 1) {
            board.setStatus(n, NumberStatus::FavI);
        }
    }
    board.setStatus(17, NumberStatus::Bank);
    board.setStatus(58, NumberStatus::Bank);
    RunSettings settings;
    settings.requestedRows = 20000;
    settings.poolSize = 90;
    settings.rowSize = 10;
    settings.congruenceLimit = 6;
    RunCase(state, board, settings, Scan::Fast);
}

void BM_SixOf49_Congruence4_50000_Reference(benchmark::State& state) {
    RunCase(state, Board{}, SixOf49(50000, 4), Scan::Reference);
}

BENCHMARK(BM_SixOf49_AnyCongruence_120)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SixOf49_Congruence4_50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixOf49_Congruence3_5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenOf90_Mixed_Congruence6_20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixOf49_Congruence4_50000_Reference)->Unit(benchmark::kMillisecond);

}  // namespace
