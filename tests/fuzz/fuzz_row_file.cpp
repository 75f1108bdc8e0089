// Row files: any bytes loaded into the row table as "Reihen öffnen..." loads them, then saved and
// loaded again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/CommaLine.h"
#include "core/common/TextFile.h"
#include "core/lottery/RowTable.h"
#include "core/rows/RowFile.h"
#include "fuzz/FuzzCheck.h"

using namespace losfix;
using losfix::fuzz::ThroughWindows1252;

namespace {

int MeasureBySize(std::string_view text) {
    return 6 * static_cast<int>(text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    StringGrid loaded = MakeRowTable(MeasureBySize);
    const std::vector<std::string> header = loaded.rowCells(0);
    DecodeRowFile(bytes, loaded);

    // One data row per line, each holding the line's first 17 items, empty ones as a space.
    const std::vector<std::string> lines = ReadTextLines(bytes);
    FUZZ_CHECK(loaded.rowCount() == static_cast<int>(lines.size()) + 1);
    FUZZ_CHECK(loaded.rowCells(0) == header);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> items = ReadCommaLine(lines[i]);
        const int row = static_cast<int>(i) + 1;
        for (int c = 0; c < kRowTableColumns; ++c) {
            const auto index = static_cast<std::size_t>(c);
            const std::string expected =
                index < items.size() ? (items[index].empty() ? " " : items[index]) : "";
            FUZZ_CHECK(loaded.cell(c, row) == expected);
        }
    }

    // Saved and loaded, every cell reads as Windows-1252 holds it, empty ones as a space; a
    // second save gives the same file.
    const std::string saved = EncodeRowFile(loaded);
    StringGrid reloaded = MakeRowTable(MeasureBySize);
    DecodeRowFile(saved, reloaded);
    FUZZ_CHECK(reloaded.rowCount() == loaded.rowCount());
    for (int r = 1; r < loaded.rowCount(); ++r) {
        for (int c = 0; c < kRowTableColumns; ++c) {
            const std::string& cell = loaded.cell(c, r);
            FUZZ_CHECK(reloaded.cell(c, r) == (cell.empty() ? " " : ThroughWindows1252(cell)));
        }
    }
    const std::string resaved = EncodeRowFile(reloaded);
    StringGrid third = MakeRowTable(MeasureBySize);
    DecodeRowFile(resaved, third);
    FUZZ_CHECK(third == reloaded);
    FUZZ_CHECK(EncodeRowFile(third) == resaved);
    return 0;
}
