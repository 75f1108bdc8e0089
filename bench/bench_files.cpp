#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/app/Settings.h"
#include "core/common/FileSystem.h"
#include "core/common/IniFile.h"
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

// One file in memory, so that the reading is measured and not the disk.
class OneFile : public FileSystem {
public:
    explicit OneFile(std::string bytes) : bytes_(std::move(bytes)) {}
    bool exists(const std::string&) const override { return true; }
    bool isDirectory(const std::string&) const override { return false; }
    FileResult readAll(const std::string&, std::string& bytes) const override {
        bytes = bytes_;
        return FileResult::success();
    }
    FileResult writeAtomic(const std::string&, std::string_view bytes) override {
        bytes_ = bytes;
        return FileResult::success();
    }
    FileResult createDirectory(const std::string&) override { return FileResult::success(); }

private:
    std::string bytes_;
};

// A damaged settings file, a megabyte of line breaks before the entries: what the main window
// reads at start, and one value written.
void BM_LoadSettings_DamagedFile(benchmark::State& state) {
    OneFile files(std::string(std::size_t{1} << 20, '\n') + "[Fenster]\r\nBreite=1200\r\n");
    IniFile ini(files, "einstellungen.ini");
    for (auto _ : state) {
        const MainSettings settings = LoadMainSettings(ini);
        benchmark::DoNotOptimize(settings);
        ini.writeInteger("Fenster", "Breite", 1200);
    }
}
BENCHMARK(BM_LoadSettings_DamagedFile)->Unit(benchmark::kMillisecond);

}  // namespace
