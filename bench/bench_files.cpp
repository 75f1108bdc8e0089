#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"

namespace {

using namespace losfix;

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

constexpr std::size_t kTenMiB = std::size_t{10} << 20;

// A damaged or foreign file: one line of ten megabytes of commas.
void BM_LoadRowFile_OneLineOfCommas(benchmark::State& state) {
    const std::string bytes(kTenMiB, ',');
    for (auto _ : state) {
        StringGrid table = MakeRowTable(MeasureBySize);
        DecodeRowFile(bytes, table);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadRowFile_OneLineOfCommas)->Unit(benchmark::kMillisecond);

// A file of a megabyte of line breaks: a million empty rows.
void BM_LoadRowFile_EmptyLines(benchmark::State& state) {
    const std::string bytes(std::size_t{1} << 20, '\n');
    for (auto _ : state) {
        StringGrid table = MakeRowTable(MeasureBySize);
        DecodeRowFile(bytes, table);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadRowFile_EmptyLines)->Unit(benchmark::kMillisecond);

// A row file as the program writes it: 10,000 rows of 6 of 49.
void BM_LoadRowFile_10000Rows(benchmark::State& state) {
    StringGrid rows = MakeRowTable(MeasureBySize);
    rows.setRowCount(10001);
    for (int r = 1; r <= 10000; ++r) {
        rows.setRowCells(r, {"   " + std::to_string(r), "3", "11", "17", "28", "40", "49"});
    }
    const std::string bytes = EncodeRowFile(rows);
    for (auto _ : state) {
        StringGrid table = MakeRowTable(MeasureBySize);
        DecodeRowFile(bytes, table);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadRowFile_10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace
