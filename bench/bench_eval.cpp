#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/eval/FootballEvaluation.h"
#include "core/eval/LottoEvaluation.h"
#include "core/eval/LottoOddsEngine.h"

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace {

using namespace losfix;

// Distinct random rows of rowSize from 1..poolSize, as a run of the generator leaves them.
LottoRows RandomRows(int poolSize, int rowSize, int count, std::uint32_t seed) {
    std::mt19937 engine(seed);
    LottoRows rows;
    rows.poolSize = poolSize;
    rows.rowSize = rowSize;
    std::vector<int> pool(static_cast<std::size_t>(poolSize));
    std::iota(pool.begin(), pool.end(), 1);
    for (int r = 0; r < count; ++r) {
        std::shuffle(pool.begin(), pool.end(), engine);
        NumberSet row;
        for (int i = 0; i < rowSize; ++i) {
            row.add(pool[static_cast<std::size_t>(i)]);
        }
        rows.rows.push_back(row);
        rows.tableRow.push_back(r + 1);
    }
    return rows;
}

// Processor time of all threads of the process so far, in seconds (Linux only; 0 elsewhere).
double ProcessSeconds() {
#if defined(__linux__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
#else
    return 0;
#endif
}

// Peak resident memory of the process so far, in MiB (Linux only; 0 elsewhere).
double PeakMiB() {
#if defined(__linux__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#else
    return 0;
#endif
}

void RunOdds(benchmark::State& state, const LottoRows& rows, int drawSize, bool expectExact) {
    LottoOdds odds;
    const double before = PeakMiB();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessSeconds();
    for (auto _ : state) {
        EvalControl control;
        odds = ComputeLottoOdds(rows, drawSize, control, 1);
        benchmark::DoNotOptimize(odds);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = (ProcessSeconds() - cpuStart) / static_cast<double>(state.iterations());
    if (odds.exact != expectExact) {
        state.SkipWithError(expectExact ? "not computed exactly" : "not sampled");
        return;
    }
    state.counters["draws"] = static_cast<double>(odds.draws);
    state.counters["draws_per_s"] =
        static_cast<double>(odds.draws) * static_cast<double>(state.iterations()) / seconds;
    state.counters["peak_MiB_added"] = PeakMiB() - before;
    // On a shared machine the wall time says more about the neighbours than about this code.
    state.counters["cpu_s_all_threads"] = cpu;
}

// Hits of 99,999 rows for one draw.
void BM_Eval_Hits_6of49_99999(benchmark::State& state) {
    const LottoRows rows = RandomRows(49, 6, 99999, 1);
    const LottoDraw draw{{3, 12, 19, 27, 33, 41}, 7};
    for (auto _ : state) {
        LottoHits hits = CountLottoHits(rows, draw);
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_Eval_Hits_6of49_99999)->Unit(benchmark::kMillisecond);

void BM_Eval_Odds_6of49_120(benchmark::State& state) {
    RunOdds(state, RandomRows(49, 6, 120, 2), 6, true);
}
BENCHMARK(BM_Eval_Odds_6of49_120)->Unit(benchmark::kMillisecond);

void BM_Eval_Odds_6of49_99999(benchmark::State& state) {
    RunOdds(state, RandomRows(49, 6, 99999, 3), 6, true);
}
BENCHMARK(BM_Eval_Odds_6of49_99999)->Unit(benchmark::kMillisecond);

void BM_Eval_Odds_10of49_draw6_20000(benchmark::State& state) {
    RunOdds(state, RandomRows(49, 10, 20000, 4), 6, true);
}
BENCHMARK(BM_Eval_Odds_10of49_draw6_20000)->Unit(benchmark::kMillisecond);

// 5 of 50, draws of 5 (2,118,760 draws), and 20 of 70 (sampled).
void BM_Eval_Odds_5of50_1000(benchmark::State& state) {
    RunOdds(state, RandomRows(50, 5, 1000, 5), 5, true);
}
BENCHMARK(BM_Eval_Odds_5of50_1000)->Unit(benchmark::kMillisecond);

// Draws of 20 from 70 cannot be enumerated: 10 million sampled draws, 100 rows of 10.
void BM_Eval_Sample_10of70_draw20_100(benchmark::State& state) {
    RunOdds(state, RandomRows(70, 10, 100, 7), 20, false);
}
BENCHMARK(BM_Eval_Sample_10of70_draw20_100)->Unit(benchmark::kMillisecond);

void BM_Eval_Tips_99999(benchmark::State& state) {
    std::mt19937 engine(6);
    std::vector<TipRow> rows(99999);
    for (TipRow& row : rows) {
        for (auto& v : row) {
            v = static_cast<std::uint8_t>(engine() % 3);
        }
    }
    std::array<std::uint8_t, 39> codes{};
    for (auto& code : codes) {
        code = static_cast<std::uint8_t>(1 + engine() % 3);
    }
    const bool weighted = state.range(0) != 0;
    TipOdds odds;
    const double before = PeakMiB();
    for (auto _ : state) {
        EvalControl control;
        odds = ComputeTipOdds(rows, weighted ? &codes : nullptr, control);
        benchmark::DoNotOptimize(odds);
    }
    state.counters["peak_MiB_added"] = PeakMiB() - before;
}
BENCHMARK(BM_Eval_Tips_99999)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// One method of the engine directly, whatever the plan would choose.
void RunMethod(benchmark::State& state, const LottoRows& rows, int drawSize,
               eval::LottoMethod method) {
    eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, drawSize);
    plan.exactMethod = method;
    LottoOdds odds;
    for (auto _ : state) {
        EvalControl control;
        odds = eval::EnumerateLottoOdds(rows, drawSize, control, plan, 1);
        benchmark::DoNotOptimize(odds);
    }
    state.counters["draws"] = static_cast<double>(odds.draws);
}

void BM_Eval_Subsets_6of49_120(benchmark::State& state) {
    RunMethod(state, RandomRows(49, 6, 120, 2), 6, eval::LottoMethod::SubsetSums);
}
BENCHMARK(BM_Eval_Subsets_6of49_120)->Unit(benchmark::kMillisecond);

void BM_Eval_Compare_6of49_120(benchmark::State& state) {
    RunMethod(state, RandomRows(49, 6, 120, 2), 6, eval::LottoMethod::Compare);
}
BENCHMARK(BM_Eval_Compare_6of49_120)->Unit(benchmark::kMillisecond);

}  // namespace
