// Files, clipboard texts and workbook values of large tables, compared with what the program
// wrote for the same tables before: the size and a 64-bit FNV-1a hash of each, so that one byte
// changed anywhere shows. The expected figures were taken from the program's own output.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/export/ClipboardText.h"
#include "core/export/SpreadsheetExport.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipFiles.h"
#include "core/football/TipGenerator.h"
#include "core/football/TipTable.h"
#include "core/lottery/Board.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"
#include "core/rows/GridSort.h"
#include "core/rows/RowFile.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;

struct Digest {
    std::size_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const Digest&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Digest& digest) {
    const auto flags = out.flags();
    out << "{" << std::dec << digest.size << ", 0x" << std::hex << digest.hash << "ULL}";
    out.flags(flags);
    return out;
}

Digest Of(std::string_view bytes) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    return {bytes.size(), hash};
}

// Every text of the block, each followed by a unit separator, rows ended by a record separator:
// a text moved to a neighbouring cell changes the digest.
Digest OfBlock(const ValueBlock& block) {
    std::string all;
    for (int r = 1; r <= block.rows(); ++r) {
        for (int c = 1; c <= block.columns(); ++c) {
            all.append(block.at(r, c));
            all.push_back('\x1f');
        }
        all.push_back('\x1e');
    }
    return Of(all);
}

// Every cell of the grid, fixed ones included, in the same way.
Digest OfGrid(const StringGrid& grid) {
    std::string all = std::to_string(grid.columnCount()) + "x" + std::to_string(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            all.append(grid.cell(c, r));
            all.push_back('\x1f');
        }
        all.push_back('\x1e');
    }
    return Of(all);
}

Random::SeedSource MixedSeeds(std::uint64_t start) {
    auto state = std::make_shared<std::uint64_t>(start);
    return [state] {
        std::uint64_t z = (*state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>(z ^ (z >> 31));
    };
}

StringGrid GeneratedRows(const Board& board, RunSettings settings, std::uint64_t seed) {
    StringGrid table = MakeRowTable(FixedMeasure);
    Random random(MixedSeeds(seed));
    RowGenerator generator(random, FixedMeasure);
    DrawCounts counts{};
    const RunOutcome outcome = generator.run(
        settings, BuildDrum(board.statuses(), settings.poolSize), table, counts, nullptr);
    EXPECT_EQ(outcome.acceptedRows, settings.requestedRows);
    return table;
}

// 99,999 rows of 16 out of 90, as many as the window allows.
StringGrid LargeRowTable() {
    Board board;
    board.setPoolItem(11);
    board.setRowSizeItem(13);
    RunSettings settings;
    settings.requestedRows = 99999;
    settings.poolSize = board.poolSize();
    settings.rowSize = board.rowSize();
    return GeneratedRows(board, settings, 20);
}

// Rows of 6 out of 49 with favourites, a banker, a congruence limit and the pair rule.
StringGrid SmallRowTable() {
    Board board;
    board.setStatus(3, NumberStatus::FavI);
    board.setStatus(17, NumberStatus::FavIII);
    board.setStatus(23, NumberStatus::Bank);
    board.setStatus(40, NumberStatus::Out);
    RunSettings settings;
    settings.requestedRows = 3000;
    settings.poolSize = board.poolSize();
    settings.rowSize = board.rowSize();
    settings.congruenceLimit = 4;
    settings.pairRule = PairRule::EverySecond;
    return GeneratedRows(board, settings, 7);
}

// A row file from elsewhere: long and odd items, quotes, empty items, umlauts, short and
// surplus lines, blank lines.
std::string ForeignRowFile() {
    std::string text;
    for (int line = 0; line < 4000; ++line) {
        std::string items;
        const int count = line % 23;
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                items += ',';
            }
            switch ((line * 7 + i * 3) % 11) {
                case 0:
                    break;
                case 1:
                    items += std::to_string(line % 90 + 1);
                    break;
                case 2:
                    items += std::string(static_cast<std::size_t>(line % 40), ' ') + "7";
                    break;
                case 3:
                    items += "\"Reihe, mit Komma\"";
                    break;
                case 4:
                    items +=
                        "Gr\xFC\xDF"
                        "e \xC4rger";
                    break;
                case 5:
                    items += std::string(static_cast<std::size_t>(line % 300), 'x');
                    break;
                case 6:
                    items += "  " + std::to_string(line) + "  ";
                    break;
                case 7:
                    items += "\"\"\"zitiert\"\"\"";
                    break;
                case 8:
                    items += "\t";
                    break;
                case 9:
                    items += std::to_string(line * 1000003LL);
                    break;
                default:
                    items += "\xA7 1.234,5";
                    break;
            }
        }
        text += items + "\r\n";
    }
    return text;
}

StringGrid LargeTipTable() {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int position = 1; position <= kOutcomesPerMatch; ++position) {
            board.setTipStatus(OutcomeSlot(match, position),
                               static_cast<TipStatus>(1 + (match + position) % 3));
        }
    }
    StringGrid table = MakeTipTable(FixedMeasure);
    StringGrid matrix = MakeOutcomeMatrix(FixedMeasure);
    OutcomeCounts counts{};
    Random random(MixedSeeds(13));
    TipGenerator generator(random, FixedMeasure);
    const TipRunOutcome outcome =
        generator.run(BuildMatchDrums(board.statuses()), 99999, table, matrix, counts, nullptr);
    EXPECT_EQ(outcome.acceptedRows, 99999);
    EXPECT_EQ(OfGrid(matrix), Digest({318, 0x12e4f46b3a48b09cULL}));
    return table;
}

TEST(GridOutputsTest, LargeRowTableFilesClipboardAndWorkbook) {
    const StringGrid table = LargeRowTable();
    EXPECT_EQ(OfGrid(table), Digest({5330854, 0xcf8a057698cb5ffeULL}));
    EXPECT_EQ(Of(EncodeRowFile(table)), Digest({5332779, 0xaf4b2c9a285c32c6ULL}));
    EXPECT_EQ(Of(ClipboardText(table)), Digest({4739787, 0xe1c9a693120a6a0cULL}));
    EXPECT_EQ(OfBlock(BuildValueBlock(table, 16)), Digest({4839804, 0xfcf5129be0ad2c47ULL}));
    EXPECT_EQ(OfBlock(BuildValueBlock(table, 6)), Digest({2839831, 0xb6eca865e5648aa8ULL}));

    StringGrid sorted = table;
    StringGrid backup;
    const auto locale = MakeGermanSortLocale();
    SortRowTable(sorted, 16, backup, *locale);
    EXPECT_EQ(Of(EncodeRowFile(sorted)), Digest({5332779, 0xfc8990aa2dc4b968ULL}));
    EXPECT_EQ(OfGrid(backup), Digest({5330808, 0xc8fc8cedcb12234ULL}));
    UndoRowTableSort(sorted, backup);
    EXPECT_EQ(OfGrid(sorted), OfGrid(table));

    // A saved file read back gives the same file again.
    StringGrid loaded = MakeRowTable(FixedMeasure);
    DecodeRowFile(EncodeRowFile(table), loaded);
    EXPECT_EQ(Of(EncodeRowFile(loaded)), Of(EncodeRowFile(table)));
}

TEST(GridOutputsTest, SmallRowsWithBankerAndSort) {
    StringGrid table = SmallRowTable();
    EXPECT_EQ(Of(EncodeRowFile(table)), Digest({102025, 0x8208ac9b22ecd915ULL}));
    EXPECT_EQ(Of(ClipboardText(table)), Digest({54028, 0xadf2184fb98f624cULL}));
    EXPECT_EQ(OfBlock(BuildValueBlock(table, 16)), Digest({87046, 0x188656a3617cba43ULL}));

    StringGrid backup;
    const auto locale = MakeGermanSortLocale();
    SortRowTable(table, 6, backup, *locale);
    EXPECT_EQ(Of(EncodeRowFile(table)), Digest({102025, 0x4fb606c1dc9292efULL}));
    EXPECT_EQ(Of(ClipboardText(table)), Digest({54028, 0x54cfd7bb1427fb2cULL}));
}

TEST(GridOutputsTest, ForeignRowFileReadSortedAndWritten) {
    StringGrid table = MakeRowTable(FixedMeasure);
    DecodeRowFile(ForeignRowFile(), table);
    EXPECT_EQ(OfGrid(table), Digest({769871, 0x9bee98a982bb4a8ULL}));
    EXPECT_EQ(Of(EncodeRowFile(table)), Digest({789643, 0x3a2b8dafbc3cbbafULL}));
    EXPECT_EQ(Of(ClipboardText(table)), Digest({8000, 0x2a91dbd1261c9e65ULL}));
    EXPECT_EQ(OfBlock(BuildValueBlock(table, 16)), Digest({700697, 0xb49fcfc8b5b1fb56ULL}));

    // By two text columns, then by a number column that holds numbers in every row kept.
    const auto locale = MakeGermanSortLocale();
    StringGrid byText = table;
    GridSortArgs args;
    args.keyColumns = {4, 1};
    args.sortTypes = {static_cast<std::uint8_t>(SortType::Text),
                      static_cast<std::uint8_t>(SortType::Text)};
    args.firstRow = 1;
    args.lastRow = byText.rowCount() - 1;
    args.blanksLast = true;
    GridSort(byText, args, *locale);
    EXPECT_EQ(Of(EncodeRowFile(byText)), Digest({789643, 0x47d4375513086029ULL}));
    args.ascending = false;
    args.includeFixedColumns = true;
    args.keyColumns = {0, 2};
    GridSort(byText, args, *locale);
    EXPECT_EQ(OfGrid(byText), Digest({769871, 0x5751c7855074f02eULL}));
}

TEST(GridOutputsTest, LargeTipTableFilesAndClipboard) {
    const StringGrid table = LargeTipTable();
    EXPECT_EQ(OfGrid(table), Digest({3290036, 0xdaa2d7545a2a5d2fULL}));
    EXPECT_EQ(Of(EncodeTipRowFile(table, TipFileForm::Text)),
              Digest({2699973, 0xe61d5165c84319d2ULL}));
    EXPECT_EQ(Of(EncodeTipRowFile(table, TipFileForm::Semicolon)),
              Digest({2699973, 0xb4101e278f4162f2ULL}));
    EXPECT_EQ(Of(TipRowClipboardText(table)), Digest({2699973, 0xe61d5165c84319d2ULL}));
}

}  // namespace
}  // namespace losfix
