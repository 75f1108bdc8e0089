// Files, clipboard texts and workbook values of large tables, compared with what the program
// wrote for the same tables before: the size and a 64-bit FNV-1a hash of each, so that one byte
// changed anywhere shows. The expected figures were taken from the program's own output.
#include <gtest/gtest.h>

#include "core/common/StringGrid.h"
#include "core/export/ClipboardText.h"
#include "core/export/SpreadsheetExport.h"
#include "core/football/TipFiles.h"
#include "core/rows/GridSort.h"
#include "core/rows/RowFile.h"
#include "support/core/LargeTables.h"

namespace losfix {
namespace {

using namespace testing;

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
    const TipTables tables = LargeTipTables();
    EXPECT_EQ(OfGrid(tables.matrix), Digest({318, 0x12e4f46b3a48b09cULL}));
    const StringGrid& table = tables.table;
    EXPECT_EQ(OfGrid(table), Digest({3290036, 0xdaa2d7545a2a5d2fULL}));
    EXPECT_EQ(Of(EncodeTipRowFile(table, TipFileForm::Text)),
              Digest({2699973, 0xe61d5165c84319d2ULL}));
    EXPECT_EQ(Of(EncodeTipRowFile(table, TipFileForm::Semicolon)),
              Digest({2699973, 0xb4101e278f4162f2ULL}));
    EXPECT_EQ(Of(TipRowClipboardText(table)), Digest({2699973, 0xe61d5165c84319d2ULL}));
}

}  // namespace
}  // namespace losfix
