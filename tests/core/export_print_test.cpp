#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/app/PrintSettings.h"
#include "core/common/Error.h"
#include "core/common/IniFile.h"
#include "core/export/PrintDocument.h"
#include "core/export/PrintLayout.h"
#include "core/lottery/RowTable.h"
#include "support/core/FixedMeasure.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using Cells = std::vector<std::vector<PrintCell>>;

// A page of 10 lines below the head, 100 units wide; every character 1 unit, marks add 1.
PrintMetrics TenLinePage() {
    PrintMetrics metrics;
    metrics.bodyWidth = 100;
    metrics.bodyHeight = 130;
    metrics.headHeight = 30;
    metrics.lineHeight = 10;
    metrics.cellGap = 1;
    metrics.labelGap = 3;
    metrics.flowGap = 4;
    metrics.tableGap = 10;
    return metrics;
}

PrintMeasure CharacterMeasure() {
    PrintMeasure measure;
    measure.cell = [](const PrintCell& cell) {
        return static_cast<double>(cell.text.size()) + (cell.mark == PrintMark::None ? 0 : 1);
    };
    measure.heading = [](std::string_view text) { return static_cast<double>(text.size()); };
    return measure;
}

// n rows of a label and one cell, each row 5 units wide with the gap ("r" + 3 digits, "x").
PrintTable NumberedRows(int n, bool flow) {
    PrintTable table;
    table.flow = flow;
    for (int i = 0; i < n; ++i) {
        std::string label = std::to_string(i);
        label.insert(0, 3 - std::min<std::size_t>(label.size(), 3), '0');
        table.rows.push_back({{label, PrintMark::None}, {"x", PrintMark::None}});
    }
    return table;
}

// Every row of every table stands on exactly one page, once, in order.
void ExpectEveryRowOnce(const PrintDocument& document, const PrintLayout& layout) {
    std::vector<std::vector<int>> seen(document.tables.size());
    for (const PrintPage& page : layout.pages) {
        for (const PrintSlice& slice : page.slices) {
            ASSERT_LE(slice.rowCount, slice.rowsPerColumn * slice.columns);
            for (int row = slice.firstRow; row < slice.firstRow + slice.rowCount; ++row) {
                seen[static_cast<std::size_t>(slice.table)].push_back(row);
            }
        }
    }
    for (std::size_t t = 0; t < document.tables.size(); ++t) {
        ASSERT_EQ(seen[t].size(), document.tables[t].rows.size()) << "table " << t;
        for (std::size_t i = 0; i < seen[t].size(); ++i) {
            EXPECT_EQ(seen[t][i], static_cast<int>(i));
        }
    }
}

// ---- Layout ----------------------------------------------------------------------------------

TEST(PrintLayoutTest, ShortRowsFlowInColumnsDownThePageThenAcross) {
    // A table column is 5 wide; with a gap of 4 eleven fit in 100 units across: (100+4)/(5+4).
    PrintDocument document;
    document.tables.push_back(NumberedRows(250, true));
    const PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    EXPECT_DOUBLE_EQ(layout.tables[0].width, 5);
    ASSERT_EQ(layout.pages.size(), std::size_t(3));  // 110 rows a page
    const PrintSlice& first = layout.pages[0].slices.at(0);
    EXPECT_EQ(first.firstRow, 0);
    EXPECT_EQ(first.rowCount, 110);
    EXPECT_EQ(first.rowsPerColumn, 10);
    EXPECT_EQ(first.columns, 11);
    EXPECT_EQ(first.columnOf(25), 2);
    EXPECT_EQ(first.lineOf(25), 5);
    // The last 30 rows are spread evenly: 3 rows in each of the 11 columns, the last short.
    const PrintSlice& last = layout.pages[2].slices.at(0);
    EXPECT_EQ(last.firstRow, 220);
    EXPECT_EQ(last.rowCount, 30);
    EXPECT_EQ(last.rowsPerColumn, 3);
    EXPECT_EQ(last.columns, 10);
    ExpectEveryRowOnce(document, layout);
}

TEST(PrintLayoutTest, EveryRowOnceForAnyCountAndTablesFollowEachOther) {
    for (const int count : {0, 1, 9, 10, 11, 109, 110, 111, 1000}) {
        PrintDocument document;
        document.tables.push_back(NumberedRows(count, true));
        PrintTable tail = NumberedRows(count % 7 + 1, false);
        tail.caption = "Schluss";
        tail.header = {"Nr", "x"};
        document.tables.push_back(tail);
        const PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
        SCOPED_TRACE(count);
        ExpectEveryRowOnce(document, layout);
        for (const PrintPage& page : layout.pages) {
            for (const PrintSlice& slice : page.slices) {
                const int lines =
                    slice.rowsPerColumn + (slice.header ? 1 : 0) + (slice.caption ? 1 : 0);
                EXPECT_LE(slice.top + lines * 10, 100.0 + 1e-9) << "beyond the foot of the page";
            }
        }
    }
}

TEST(PrintLayoutTest, ATableGoesOnWithItsHeaderAndItsCaptionNeverStandsAlone) {
    PrintDocument document;
    document.tables.push_back(NumberedRows(8, false));  // 8 of 10 lines, then the table gap
    PrintTable second = NumberedRows(25, false);
    second.caption = "Zweite";
    second.header = {"Nr", "x"};
    document.tables.push_back(second);
    const PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    // After 8 lines and the gap only one line is left: caption, header and a row go on.
    ASSERT_EQ(layout.pages.size(), std::size_t(4));
    ASSERT_EQ(layout.pages[0].slices.size(), std::size_t(1));
    const PrintSlice& start = layout.pages[1].slices.at(0);
    EXPECT_TRUE(start.caption);
    EXPECT_TRUE(start.header);
    EXPECT_DOUBLE_EQ(start.top, 0);
    EXPECT_EQ(start.rowCount, 8);  // 10 lines less caption and header
    const PrintSlice& next = layout.pages[2].slices.at(0);
    EXPECT_FALSE(next.caption);
    EXPECT_TRUE(next.header);
    EXPECT_EQ(next.firstRow, 8);
    EXPECT_EQ(next.rowCount, 9);
    EXPECT_EQ(layout.pages[3].slices.at(0).rowCount, 8);
    ExpectEveryRowOnce(document, layout);
}

TEST(PrintLayoutTest, AHeaderOfTwoLinesStandsOnEveryPageAndIsAsWideAsItsLongerLine) {
    PrintTable table = NumberedRows(20, false);
    table.header = {"Nr", "Beste\nReihe"};
    PrintDocument document;
    document.tables.push_back(table);
    const PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    EXPECT_EQ(layout.tables.at(0).columnWidths, (std::vector<double>{3, 5}));
    ASSERT_EQ(layout.pages.size(), std::size_t(3));
    for (const int page : {0, 1}) {
        EXPECT_TRUE(layout.pages[static_cast<std::size_t>(page)].slices.at(0).header);
        EXPECT_EQ(layout.pages[static_cast<std::size_t>(page)].slices.at(0).rowCount, 8);
    }
    EXPECT_EQ(layout.pages[2].slices.at(0).rowCount, 4);
    EXPECT_EQ(CaptionLines("Beste\nReihe"), (std::vector<std::string>{"Beste", "Reihe"}));
    EXPECT_EQ(CaptionLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(PrintTable{}.headerLines(), 0);
}

TEST(PrintLayoutTest, TablesKeptTogetherStartANewPageWhenThatKeepsThemWhole) {
    // 5 lines, then the gap: 4 lines are left. A text of 2 lines kept with a table of a header
    // and 3 rows needs 2 + gap + 4 lines.
    PrintDocument document;
    document.tables.push_back(NumberedRows(5, false));
    PrintTable text = NumberedRows(2, false);
    text.keepWithNext = true;
    PrintTable odds = NumberedRows(3, false);
    odds.header = {"Nr", "x"};
    odds.keepWhole = true;
    document.tables = {document.tables[0], text, odds};
    PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    ASSERT_EQ(layout.pages.size(), std::size_t(2));
    EXPECT_EQ(layout.pages[0].slices.size(), std::size_t(1));
    EXPECT_EQ(layout.pages[1].slices.at(0).table, 1);
    EXPECT_EQ(layout.pages[1].slices.at(1).table, 2);
    EXPECT_EQ(layout.pages[1].slices.at(1).rowCount, 3);
    ExpectEveryRowOnce(document, layout);

    // Without being kept the text stays on the first page.
    document.tables[1].keepWithNext = false;
    document.tables[2].keepWhole = false;
    layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    ASSERT_EQ(layout.pages.size(), std::size_t(2));
    EXPECT_EQ(layout.pages[0].slices.size(), std::size_t(2));

    // A table longer than a page is split anyway, where it stands.
    document.tables[2] = NumberedRows(12, false);
    document.tables[2].keepWhole = true;
    layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    ASSERT_EQ(layout.pages[0].slices.size(), std::size_t(3));
    EXPECT_EQ(layout.pages[0].slices[2].rowCount, 1);
    ExpectEveryRowOnce(document, layout);
}

TEST(PrintLayoutTest, ColumnsTakeTheirWidestTextAndGiveWayOnANarrowPage) {
    PrintTable table;
    table.labelColumn = true;
    table.narrowest = "88";
    table.header = {"Reihe", "1", "2"};
    table.rows = Cells{{{"7", PrintMark::None}, {"3", PrintMark::None}, {"12", PrintMark::Bank}},
                       {{"10", PrintMark::None}, {"45", PrintMark::FavII}, {"5", PrintMark::None}}};
    PrintDocument document;
    document.tables.push_back(table);
    const PrintLayout layout = LayOutDocument(document, TenLinePage(), CharacterMeasure());
    const TableGeometry& geometry = layout.tables.at(0);
    EXPECT_EQ(geometry.columnWidths,
              (std::vector<double>{5, 3, 3}));  // "Reihe", "45"+mark, "12"+mark
    EXPECT_EQ(geometry.columnLefts, (std::vector<double>{0, 8, 12}));  // label gap 3, cell gap 1
    EXPECT_DOUBLE_EQ(geometry.width, 15);
    EXPECT_FALSE(geometry.shrunk);

    // Even columns share the widest; too wide a table is cut to the page.
    table.evenColumns = true;
    table.rows[0][1].text = "1234567";
    document.tables = {table};
    PrintMetrics narrow = TenLinePage();
    narrow.bodyWidth = 12;
    const TableGeometry cut = LayOutDocument(document, narrow, CharacterMeasure()).tables.at(0);
    EXPECT_TRUE(cut.shrunk);
    EXPECT_DOUBLE_EQ(cut.width, 12);
    EXPECT_DOUBLE_EQ(cut.columnWidths[1], cut.columnWidths[2]);
}

TEST(PrintLayoutTest, NothingToPrintIsOnePageAndATinyPageStillEnds) {
    PrintDocument empty;
    EXPECT_EQ(LayOutDocument(empty, TenLinePage(), CharacterMeasure()).pages.size(),
              std::size_t(1));
    PrintMetrics tiny = TenLinePage();
    tiny.headHeight = 125;  // less than a line below the head
    PrintDocument document;
    PrintTable table = NumberedRows(3, true);
    table.header = {"Nr", "x"};
    document.tables.push_back(table);
    const PrintLayout layout = LayOutDocument(document, tiny, CharacterMeasure());
    ExpectEveryRowOnce(document, layout);
    EXPECT_LE(layout.pages.size(), std::size_t(4));
}

TEST(PrintLayoutTest, EachTextIsMeasuredOnce) {
    int calls = 0;
    PrintMeasure measure = CharacterMeasure();
    measure.cell = [&calls](const PrintCell& cell) {
        ++calls;
        return static_cast<double>(cell.text.size());
    };
    PrintDocument document;
    PrintTable table;
    for (int i = 0; i < 5000; ++i) {
        table.rows.push_back(
            {{std::to_string(i % 10), PrintMark::None}, {std::to_string(i % 10), PrintMark::Bank}});
    }
    document.tables.push_back(table);
    LayOutDocument(document, TenLinePage(), measure);
    EXPECT_EQ(calls, 20);
}

// ---- Documents -------------------------------------------------------------------------------

StringGrid RowTableOf(const std::vector<std::vector<std::string>>& rows) {
    StringGrid table = MakeRowTable(testing::FixedMeasure);
    table.setRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        table.setRowCells(static_cast<int>(r) + 1, rows[r]);
    }
    return table;
}

std::array<NumberStatus, 90> NormalStatuses() {
    std::array<NumberStatus, 90> statuses{};
    statuses.fill(NumberStatus::Normal);
    return statuses;
}

TEST(PrintDocumentTest, RowsAscendingMarkedByStatusBlanksAndEmptyRowsLeftOut) {
    auto statuses = NormalStatuses();
    statuses[6] = NumberStatus::Bank;    // 7
    statuses[11] = NumberStatus::FavII;  // 12
    statuses[2] = NumberStatus::Out;     // 3: no mark, out is no favourite
    const StringGrid table =
        RowTableOf({{"  1", "40", "7", " ", "12", "x y", "3"}, {"", "", " "}, {" 3", "91", "0"}});
    const Cells rows = PrintRowsOfTable(table, statuses);
    ASSERT_EQ(rows.size(), std::size_t(2));
    EXPECT_EQ(rows[0], (std::vector<PrintCell>{{"1", PrintMark::None},
                                               {"3", PrintMark::None},
                                               {"7", PrintMark::Bank},
                                               {"12", PrintMark::FavII},
                                               {"40", PrintMark::None},
                                               {"x y", PrintMark::None}}));
    // Texts that are no number from 1 to 90 keep their place after the numbers.
    EXPECT_EQ(rows[1],
              (std::vector<PrintCell>{
                  {"3", PrintMark::None}, {"91", PrintMark::None}, {"0", PrintMark::None}}));
    EXPECT_TRUE(RowTableEmpty(RowTableOf({{"", " "}, {}})));
    EXPECT_FALSE(RowTableEmpty(table));
}

TEST(PrintDocumentTest, TheHeadNamesTheRunOrTheFile) {
    auto statuses = NormalStatuses();
    statuses[8] = NumberStatus::FavI;
    statuses[4] = NumberStatus::FavI;
    statuses[20] = NumberStatus::FavIII;
    const StringGrid table = RowTableOf({{"1", "5", "9", "21"}, {"2", "9", "30", "44"}});
    RowsOrigin run;
    run.run = RunSettings{2, 49, 3, 2, PairRule::EverySecond};
    run.fileName = "lauf.lrei";
    const PrintDocument fromRun = RowsPrintDocument(table, statuses, run, nullptr);
    EXPECT_EQ(fromRun.title, "Losfix 2.0");
    EXPECT_EQ(fromRun.headLines,
              (std::vector<std::string>{
                  "3 aus 49 · 2 Reihen",
                  "Max. Reihenkongruenz 2 · Zwei benachbarte Zahlen sichern: in jeder zweiten",
                  "Datei: lauf.lrei"}));
    // The legend names the marks in use, each with the smallest number that carries it.
    ASSERT_EQ(fromRun.legend.size(), std::size_t(2));
    EXPECT_EQ(fromRun.legend[0].sample, (PrintCell{"5", PrintMark::FavI}));
    EXPECT_EQ(fromRun.legend[0].text, "Fav I");
    EXPECT_EQ(fromRun.legend[1].sample, (PrintCell{"21", PrintMark::FavIII}));
    ASSERT_EQ(fromRun.tables.size(), std::size_t(1));
    EXPECT_TRUE(fromRun.tables[0].flow);

    run.run->congruenceLimit = kCongruenceMax;
    run.run->pairRule = PairRule::Exclude;
    EXPECT_EQ(RowsPrintDocument(table, statuses, run, nullptr).headLines[1],
              "Max. Reihenkongruenz egal · Zwei benachbarte Zahlen sichern: nein, ausschließen");

    // A file tells its row size by its widest row; a number beyond the board's pool widens it.
    RowsOrigin file;
    file.poolSize = 49;
    file.fileName = "alt.lrei";
    const StringGrid loaded = RowTableOf({{"1", "3", "77"}, {"2", "1", "2", "3", "4"}});
    EXPECT_EQ(RowsPrintDocument(loaded, NormalStatuses(), file, nullptr).headLines,
              (std::vector<std::string>{"4 aus 90 · 2 Reihen", "Datei: alt.lrei"}));
    EXPECT_EQ(
        RowsPrintDocument(RowTableOf({{"1", "3"}}), NormalStatuses(), file, nullptr).headLines[0],
        "1 aus 49 · 1 Reihe");
    EXPECT_TRUE(RowsPrintDocument(loaded, NormalStatuses(), file, nullptr).legend.empty());
}

TEST(PrintDocumentTest, TheDistributionOfTheRunAtTheEnd) {
    DrawCounts counts{};
    counts[0] = 1200;
    counts[34] = 7;
    RowsOrigin origin;
    origin.run = RunSettings{2, 35, 3, 2, PairRule::NoCheck};
    auto statuses = NormalStatuses();
    statuses[34] = NumberStatus::Bank;
    const PrintDocument document =
        RowsPrintDocument(RowTableOf({{"1", "1", "2", "35"}}), statuses, origin, &counts);
    ASSERT_EQ(document.tables.size(), std::size_t(2));
    const PrintTable& distribution = document.tables[1];
    EXPECT_EQ(distribution.header, (std::vector<std::string>{"Zahl", "Reihen"}));
    ASSERT_EQ(distribution.rows.size(), std::size_t(35));
    EXPECT_EQ(distribution.rows[0][1].text, "1.200");
    EXPECT_EQ(distribution.rows[1][1].text, "0");
    EXPECT_EQ(distribution.rows[34][0], (PrintCell{"35", PrintMark::Bank}));
    EXPECT_EQ(distribution.rows[34][1].text, "7");
}

TEST(PrintDocumentTest, TipRowsWithTheBoardsCountsAndTheOutcomeCounts) {
    StringGrid tips(kTipTableColumns, 4, 1, 1);
    const std::string row1 = "1021021021021";
    for (int match = 1; match <= kMatchCount; ++match) {
        tips.setCell(match, 1, row1.substr(static_cast<std::size_t>(match - 1), 1));
        tips.setCell(match, 3, "2");
    }
    tips.setCell(0, 1, "  1");
    tips.setCell(0, 2, "  2");  // a label without tips is no tip row
    tips.setCell(0, 3, "  3");
    CountLabels labels;
    labels.kombis = "1.594.323";
    labels.dw = "13";
    OutcomeCounts counts{};
    counts[0] = {1, 0, 1};
    counts[12] = {1, 0, 1};
    const PrintDocument document = TipsPrintDocument(tips, labels, counts, "tipps.txt");
    EXPECT_EQ(document.headLines,
              (std::vector<std::string>{"Fußballtipps: 13 Spiele · 2 Tippreihen",
                                        "Kombinationen: 1.594.323 · ZW: 0 · DW: 13 · Bänke: 0",
                                        "Datei: tipps.txt"}));
    ASSERT_EQ(document.tables.size(), std::size_t(2));
    const PrintTable& grid = document.tables[0];
    ASSERT_EQ(grid.rows.size(), std::size_t(2));
    EXPECT_EQ(grid.header.size(), std::size_t(14));
    EXPECT_EQ(grid.rows[0][0].text, "1");
    EXPECT_EQ(grid.rows[1][0].text, "3");
    std::string first;
    for (std::size_t i = 1; i < grid.rows[0].size(); ++i) {
        first += grid.rows[0][i].text;
    }
    EXPECT_EQ(first, row1);
    const PrintTable& outcomes = document.tables[1];
    ASSERT_EQ(outcomes.rows.size(), std::size_t(3));
    EXPECT_EQ(outcomes.rows[0][0].text, "1");
    EXPECT_EQ(outcomes.rows[0][1].text, "1");
    EXPECT_EQ(outcomes.rows[1][1].text, "");  // no "0" in match 1
    EXPECT_EQ(outcomes.rows[2][13].text, "1");
    EXPECT_TRUE(TipTableEmpty(StringGrid(kTipTableColumns, 5, 1, 1)));
    EXPECT_FALSE(TipTableEmpty(tips));
}

TEST(PrintDocumentTest, SummariesNamesAndPageTexts) {
    PrintSummary summary;
    summary.title = "Auswertung";
    summary.lines = {"120 Reihen"};
    PrintTable table;
    table.header = {"Treffer", "Reihen"};
    table.rows = {{{"3", PrintMark::None}, {"12", PrintMark::None}}};
    summary.tables = {table};
    const PrintDocument document = SummaryPrintDocument(summary);
    EXPECT_EQ(document.title, "Losfix 2.0");
    EXPECT_EQ(document.headLines, (std::vector<std::string>{"Auswertung", "120 Reihen"}));
    ASSERT_EQ(document.tables.size(), std::size_t(1));
    EXPECT_EQ(document.tables[0].rows, table.rows);

    EXPECT_EQ(PageText(3, 7), "Seite 3 von 7");
    EXPECT_EQ(PrintedAtText(2025, 6, 5, 9, 3), "05.06.2025, 09:03 Uhr");
    EXPECT_EQ(ProposedPdfName("reihen.lrei", "Losfixreihen", 2025, 6, 5), "reihen.pdf");
    EXPECT_EQ(ProposedPdfName("meine.reihen.lrei", "x", 2025, 6, 5), "meine.reihen.pdf");
    EXPECT_EQ(ProposedPdfName("ohne", "x", 2025, 6, 5), "ohne.pdf");
    EXPECT_EQ(ProposedPdfName(".lrei", "x", 2025, 6, 5), ".lrei.pdf");
    EXPECT_EQ(ProposedPdfName("", "Losfixreihen", 2025, 6, 5), "Losfixreihen 2025-06-05.pdf");
    EXPECT_STREQ(MarkSuffix(PrintMark::FavIII), "III");
    EXPECT_STREQ(MarkSuffix(PrintMark::Bank), "");
    for (const NumberStatus status :
         {NumberStatus::Bank, NumberStatus::FavI, NumberStatus::FavII, NumberStatus::FavIII}) {
        EXPECT_EQ(StatusOfMark(MarkOfStatus(status)), status);
    }
    EXPECT_EQ(MarkOfStatus(NumberStatus::Out), PrintMark::None);
}

// ---- Page set-up in the settings file --------------------------------------------------------

const std::string kSettings = "/s/einstellungen.ini";
const std::string kOldFile =
    "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n[Losfix]\r\nZahlen=3\r\nMenge=5\r\n";

TEST(PrintSetupTest, OlderFilesAndOddValuesGiveTheDefaults) {
    testing::MemoryFileSystem files;
    IniFile ini(files, kSettings);
    EXPECT_EQ(ReadPrintSetup(ini), PrintSetup{});
    files.files[kSettings] = kOldFile;
    EXPECT_EQ(ReadPrintSetup(ini), PrintSetup{});
    files.files[kSettings] = kOldFile +
                             "[druck]\r\npapier=Letter\r\nausrichtung=querformat\r\n"
                             "Verteilung=1\r\n";
    EXPECT_EQ(ReadPrintSetup(ini), (PrintSetup{"Letter", true, true}));
    files.files[kSettings] =
        kOldFile + "[Druck]\r\nPapier=A4<b>\r\nAusrichtung=schief\r\nVerteilung=ja\r\n";
    EXPECT_EQ(ReadPrintSetup(ini), PrintSetup{});
}

TEST(PrintSetupTest, WrittenIntoItsOwnSectionKeepingTheRest) {
    testing::MemoryFileSystem files;
    IniFile ini(files, kSettings);
    // No file yet: its first write belongs to the main window.
    EXPECT_FALSE(WritePrintSetup(ini, PrintSetup{"A5", true, false}));
    EXPECT_TRUE(files.files.empty());

    files.files[kSettings] = kOldFile;
    EXPECT_TRUE(WritePrintSetup(ini, PrintSetup{"A5", true, false}));
    EXPECT_EQ(files.files[kSettings],
              kOldFile + "[Druck]\r\nPapier=A5\r\nAusrichtung=Querformat\r\n");
    EXPECT_EQ(ReadPrintSetup(ini), (PrintSetup{"A5", true, false}));
    // Only what changed is written.
    const int writes = files.writeCount;
    EXPECT_TRUE(WritePrintSetup(ini, PrintSetup{"A5", true, true}));
    EXPECT_EQ(files.writeCount, writes + 1);
    EXPECT_EQ(files.files[kSettings],
              kOldFile + "[Druck]\r\nPapier=A5\r\nAusrichtung=Querformat\r\nVerteilung=1\r\n");

    files.unwritable.insert(kSettings);
    EXPECT_THROW(WritePrintSetup(ini, PrintSetup{}), Error);
}

}  // namespace
}  // namespace losfix
