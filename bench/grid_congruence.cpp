// The congruence test over the whole range of large rows: row sizes 7 to 16, pools of 49, 70 and
// 90 numbers, every congruence limit from 1 to row size - 2 and 1,000, 20,000 and 99,999 rows
// (fewer where RunCeiling allows fewer). A case stops after kCandidateLimit candidates.
//
// Names: Congruence/<row size>of<pool>/L<limit>/<rows>, for example Congruence/16of90/L12/99999;
// --benchmark_filter picks cases. LOSFIX_BENCH_FULL_LIST_SCAN=1 adds every case once through
// the plain comparison with every earlier row (RowGenerator::runReference), named
// Reference/<row size>of<pool>/L<limit>/<rows>; together they take hours.
//
// Counters: rows accepted, candidates, ns_per_candidate (processor time, so that other work on a
// shared machine counts less), and max_gap_us, the longest wall-clock time between two of the
// window's clock readings (every 64th yield, as RunPump reads it). On a shared machine other
// programs' turns fall into those gaps; LOSFIX_BENCH_PROCESSOR_GAPS=1 adds one untimed run per
// case that measures them in processor time (max_gap_cpu_us).
//
// LOSFIX_BENCH_SPEEDUP=<n> adds Speedup/<case>: the fast run (the faster of two) and the plain
// comparison once, wall-clock time. The plain comparison is stopped once it has taken n times as
// long as the fast run, so the whole grid is judged in about an hour instead of many: speedup is
// then "at least n" (reference_complete=0).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "core/common/Random.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowColumns.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"

namespace {

using namespace losfix;

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

// Reads a clock at every 64th yield, as the window's RunPump does, and keeps the longest time
// between two readings: how long the window could go without answering.
// With a deadline (on the same clock), the run is stopped once a reading passes it.
struct GapMeter {
    std::int64_t (*now)();
    std::int64_t deadline = 0;
    unsigned calls = 0;
    std::int64_t last = 0;
    std::int64_t longest = 0;
    bool overdue = false;

    void start() {
        calls = 0;
        last = now();
    }
    bool yielded() {
        if ((++calls & 63U) == 0) {
            const std::int64_t reading = now();
            longest = std::max(longest, reading - last);
            last = reading;
            overdue = deadline != 0 && reading > deadline;
        }
        return overdue;
    }
};

std::int64_t WallNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The process's processor time: on a machine shared with other work, what the run itself took.
std::int64_t ProcessorNanos() {
    return static_cast<std::int64_t>(std::clock()) * (1000000000 / CLOCKS_PER_SEC);
}

struct GridRun {
    RunOutcome outcome;
    std::int64_t longestGap = 0;
    bool overdue = false;  // stopped at the deadline, not at the candidate limit or the end
};

GridRun RunGridOnce(const RunSettings& settings, const Drum& drum, bool reference,
                    std::int64_t (*clock)(), std::optional<StringGrid>& table,
                    std::int64_t deadline = 0) {
    table.reset();
    table.emplace(MakeRowTable(MeasureBySize));
    DrawCounts counts{};
    Random random(CountingSeedSource(20240601U, 0x9E3779B9U));
    RowGenerator generator(random, MeasureBySize);
    GapMeter gaps{clock, deadline};
    const YieldCallback yield = [&gaps](const RunProgress& progress) {
        return gaps.yielded() || progress.candidates >= kCandidateLimit;
    };
    gaps.start();
    GridRun run;
    run.outcome = reference ? generator.runReference(settings, drum, *table, counts, yield)
                            : generator.run(settings, drum, *table, counts, yield);
    run.longestGap = gaps.longest;
    run.overdue = gaps.overdue;
    return run;
}

RunSettings SettingsFor(const GridCase& grid) {
    RunSettings settings;
    settings.requestedRows = grid.rows;
    settings.poolSize = grid.pool;
    settings.rowSize = grid.rowSize;
    settings.congruenceLimit = grid.limit;
    return settings;
}

// The fast run, then the plain comparison until it has taken `factor` times as long.
void RunSpeedupCase(benchmark::State& state, const GridCase& grid, double factor) {
    const RunSettings settings = SettingsFor(grid);
    const Drum drum = BuildDrum(Board{}.statuses(), grid.pool);
    std::optional<StringGrid> table;
    for (auto _ : state) {
        // The faster of two: the first also pays for the allocator's and the caches' first use.
        GridRun fast;
        std::int64_t fastTime = std::numeric_limits<std::int64_t>::max();
        for (int round = 0; round < 2; ++round) {
            const std::int64_t fastStart = WallNanos();
            fast = RunGridOnce(settings, drum, false, WallNanos, table);
            fastTime = std::min<std::int64_t>(fastTime,
                                              std::max<std::int64_t>(WallNanos() - fastStart, 1));
            table.reset();
        }
        const std::int64_t referenceStart = WallNanos();
        const auto budget = static_cast<std::int64_t>(factor * static_cast<double>(fastTime));
        const GridRun reference =
            RunGridOnce(settings, drum, true, WallNanos, table, referenceStart + budget);
        const std::int64_t referenceTime = WallNanos() - referenceStart;
        table.reset();
        state.counters["rows"] = fast.outcome.acceptedRows;
        state.counters["candidates"] = static_cast<double>(fast.outcome.candidates);
        state.counters["fast_ms"] = static_cast<double>(fastTime) / 1e6;
        state.counters["reference_ms"] = static_cast<double>(referenceTime) / 1e6;
        state.counters["reference_complete"] = reference.overdue ? 0 : 1;
        state.counters["speedup"] =
            static_cast<double>(referenceTime) / static_cast<double>(fastTime);
    }
}

// processorGap: the longest gap in processor time, measured once per case (negative: not yet).
void RunGridCase(benchmark::State& state, const GridCase& grid, bool reference,
                 double& processorGap) {
    const RunSettings settings = SettingsFor(grid);
    const Drum drum = BuildDrum(Board{}.statuses(), grid.pool);

    std::optional<StringGrid> table;
    GridRun run;
    std::int64_t processor = 0;
    std::uint64_t candidates = 0;
    std::int64_t longestGap = 0;
    for (auto _ : state) {
        if (processorGap < 0 && std::getenv("LOSFIX_BENCH_PROCESSOR_GAPS") != nullptr) {
            // Once per case and untimed: this clock costs a system call a reading.
            state.PauseTiming();
            const GridRun once = RunGridOnce(settings, drum, reference, ProcessorNanos, table);
            processorGap = static_cast<double>(once.longestGap) / 1e3;
            state.ResumeTiming();
        }
        const std::int64_t start = ProcessorNanos();
        run = RunGridOnce(settings, drum, reference, WallNanos, table);
        processor += ProcessorNanos() - start;
        candidates += run.outcome.candidates;
        longestGap = std::max(longestGap, run.longestGap);
        benchmark::DoNotOptimize(*table);
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = run.outcome.acceptedRows;
    state.counters["candidates"] = static_cast<double>(run.outcome.candidates);
    state.counters["ns_per_candidate"] =
        candidates == 0 ? 0.0 : static_cast<double>(processor) / static_cast<double>(candidates);
    state.counters["max_gap_us"] = static_cast<double>(longestGap) / 1e3;
    if (processorGap >= 0) {
        state.counters["max_gap_cpu_us"] = processorGap;
    }
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
    std::fprintf(stderr, "congruence columns counted with %s\n", RowColumns::instructionSet());
    const bool withReference = std::getenv("LOSFIX_BENCH_FULL_LIST_SCAN") != nullptr;
    const char* speedupText = std::getenv("LOSFIX_BENCH_SPEEDUP");
    const double speedup = speedupText != nullptr ? std::atof(speedupText) : 0.0;
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
                        [grid, gap = -1.0](benchmark::State& state) mutable {
                            RunGridCase(state, grid, false, gap);
                        })
                        ->Unit(benchmark::kMillisecond);
                    if (withReference) {
                        benchmark::RegisterBenchmark(
                            CaseName("Reference", grid).c_str(),
                            [grid, gap = -1.0](benchmark::State& state) mutable {
                                RunGridCase(state, grid, true, gap);
                            })
                            ->Unit(benchmark::kMillisecond)
                            ->Iterations(1);
                    }
                    if (speedup > 0) {
                        benchmark::RegisterBenchmark(CaseName("Speedup", grid).c_str(),
                                                     [grid, speedup](benchmark::State& state) {
                                                         RunSpeedupCase(state, grid, speedup);
                                                     })
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
