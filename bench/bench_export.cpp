#include <benchmark/benchmark.h>

#include <string>

#include "core/export/ClipboardText.h"
#include "core/export/SpreadsheetExport.h"
#include "core/lottery/RowTable.h"

#ifdef LOSFIX_BENCH_WORKBOOK
#include <filesystem>

#include "platform/XlsxSpreadsheet.h"
#endif

namespace {

using namespace losfix;

// A row table of `rows` rows of 16 numbers.
StringGrid TableOfRows(int rows) {
    StringGrid grid =
        MakeRowTable([](std::string_view text) { return 6 * static_cast<int>(text.size()); });
    grid.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.setCell(0, r, std::to_string(r));
        for (int c = 1; c <= 16; ++c) {
            grid.setCell(c, r, std::to_string((r * 7 + c * 5) % 90 + 1));
        }
    }
    return grid;
}

// The largest table a user can ask for: 99,999 rows.
const StringGrid& LargestTable() {
    static const StringGrid table = TableOfRows(99999);
    return table;
}

void BM_ValueBlock(benchmark::State& state) {
    const StringGrid& table = LargestTable();
    for (auto _ : state) {
        ValueBlock block = BuildValueBlock(table, table.columnCount() - 1);
        benchmark::DoNotOptimize(block);
    }
}
BENCHMARK(BM_ValueBlock)->Unit(benchmark::kMillisecond);

void BM_ClipboardText(benchmark::State& state) {
    const StringGrid& table = LargestTable();
    for (auto _ : state) {
        std::string text = ClipboardText(table);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ClipboardText)->Unit(benchmark::kMillisecond);

#ifdef LOSFIX_BENCH_WORKBOOK

// Keeps the workbooks from being opened.
class NoShell : public Shell {
public:
    bool openFile(const std::string&) override { return true; }
    bool openUrl(const std::string&) override { return true; }
    bool startDetached(const std::string&, const std::vector<std::string>&) override {
        return true;
    }
    bool spreadsheetInstalled() override { return true; }
    std::string spreadsheetProgram() override { return {}; }
};

// Block, automation calls, .xlsx writing and renaming, as the button does it.
void BM_Workbook(benchmark::State& state) {
    const StringGrid table =
        state.range(0) == 99999 ? LargestTable() : TableOfRows(static_cast<int>(state.range(0)));
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "losfix_bench_export";
    std::filesystem::create_directories(folder);
    NoShell shell;
    for (auto _ : state) {
        const std::string path = ExportRowTableToWorkbook(table, folder.string(), shell);
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Workbook)->Arg(120)->Arg(99999)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
