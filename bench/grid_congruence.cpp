// The congruence test over the whole range of large rows: row sizes 7 to 16, pools of 49, 70 and
// 90 numbers, every congruence limit from 1 to row size - 2 and 1,000, 20,000 and 99,999 rows
// (fewer where RunCeiling allows fewer). A case stops after kCandidateLimit candidates.
//
// Names: Congruence/<row size>of<pool>/L<limit>/<rows>, for example Congruence/16of90/L12/99999;
// --benchmark_filter picks cases. LOSFIX_BENCH_FULL_LIST_SCAN=1 adds every case once through
// the plain comparison with every earlier row (RowGenerator::runReference), named
// Reference/<row size>of<pool>/L<limit>/<rows>; together they take hours.
//
// Counters: rows accepted, candidates, ns_per_candidate, and max_gap_us, the longest time
// between two of the window's clock readings (every 64th yield, as RunPump reads it).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/common/Random.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowColumns.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"

namespace {

using namespace losfix;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kCandidateLimit = 2000000;

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

struct GridCase {
    int rowSize;
    int pool;
    int limit;
    int rows;
};

void RunGridCase(benchmark::State& state, const GridCase& grid, bool reference) {
    RunSettings settings;
    settings.requestedRows = grid.rows;
    settings.poolSize = grid.pool;
    settings.rowSize = grid.rowSize;
    settings.congruenceLimit = grid.limit;
    const Drum drum = BuildDrum(Board{}.statuses(), grid.pool);

    unsigned calls = 0;
    Clock::time_point lastReading;
    Clock::duration longestGap{};
    const YieldCallback yield = [&](const RunProgress& progress) {
        if ((++calls & 63U) == 0) {
            const Clock::time_point now = Clock::now();
            longestGap = std::max(longestGap, now - lastReading);
            lastReading = now;
        }
        return progress.candidates >= kCandidateLimit;
    };

    RunOutcome outcome;
    Clock::duration total{};
    std::uint64_t candidates = 0;
    std::optional<StringGrid> table;
    for (auto _ : state) {
        state.PauseTiming();
        table.reset();
        table.emplace(MakeRowTable(MeasureBySize));
        DrawCounts counts{};
        Random random(CountingSeedSource(20240601U, 0x9E3779B9U));
        RowGenerator generator(random, MeasureBySize);
        calls = 0;
        state.ResumeTiming();

        const Clock::time_point start = Clock::now();
        lastReading = start;
        outcome = reference ? generator.runReference(settings, drum, *table, counts, yield)
                            : generator.run(settings, drum, *table, counts, yield);
        total += Clock::now() - start;
        candidates += outcome.candidates;
        benchmark::DoNotOptimize(*table);
    }
    state.counters["rows"] = outcome.acceptedRows;
    state.counters["candidates"] = static_cast<double>(outcome.candidates);
    state.counters["ns_per_candidate"] =
        candidates == 0 ? 0.0
                        : std::chrono::duration<double, std::nano>(total).count() /
                              static_cast<double>(candidates);
    state.counters["max_gap_us"] = std::chrono::duration<double, std::micro>(longestGap).count();
}

std::string CaseName(const char* prefix, const GridCase& grid) {
    return std::string(prefix) + "/" + std::to_string(grid.rowSize) + "of" +
           std::to_string(grid.pool) + "/L" + std::to_string(grid.limit) + "/" +
           std::to_string(grid.rows);
}

const bool kGridRegistered = [] {
    if (const char* name = std::getenv("LOSFIX_BENCH_INSTRUCTIONS")) {
        if (!RowColumns::useInstructionSet(name)) {
            std::fprintf(stderr, "unknown or unsupported instruction set: %s\n", name);
            std::exit(1);
        }
    }
    std::printf("congruence columns counted with %s\n", RowColumns::instructionSet());
    const bool withReference = std::getenv("LOSFIX_BENCH_FULL_LIST_SCAN") != nullptr;
    for (int rowSize = 7; rowSize <= 16; ++rowSize) {
        for (const int pool : {49, 70, 90}) {
            for (int limit = 1; limit <= rowSize - 2; ++limit) {
                const std::uint64_t ceiling = RunCeiling(pool, rowSize, 0, limit);
                int previous = 0;
                for (const int requested : {1000, 20000, 99999}) {
                    const int rows = static_cast<int>(
                        std::min<std::uint64_t>(ceiling, static_cast<std::uint64_t>(requested)));
                    if (rows == previous) {
                        continue;  // capped: the same case as the smaller count
                    }
                    previous = rows;
                    const GridCase grid{rowSize, pool, limit, rows};
                    benchmark::RegisterBenchmark(
                        CaseName("Congruence", grid).c_str(),
                        [grid](benchmark::State& state) { RunGridCase(state, grid, false); })
                        ->Unit(benchmark::kMillisecond);
                    if (withReference) {
                        benchmark::RegisterBenchmark(
                            CaseName("Reference", grid).c_str(),
                            [grid](benchmark::State& state) { RunGridCase(state, grid, true); })
                            ->Unit(benchmark::kMillisecond)
                            ->Iterations(1);
                    }
                }
            }
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
