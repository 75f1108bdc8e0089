#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app/EvaluationSettings.h"
#include "core/app/Settings.h"
#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/export/EvaluationText.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using testing::MemoryFileSystem;

// One row {1, 2} against every draw of 2 from 5: 1 draw hits both, 6 hit one, 3 none.
LottoOdds OneRowTwoOfFive() {
    LottoOdds odds;
    odds.draws = 10;
    odds.exact = true;
    odds.bestRow = {3, 6, 1};
    odds.anyRow = {3, 6, 1};
    odds.rowsTotal = {3, 6, 1};
    odds.rowsSquares = {3, 6, 1};
    return odds;
}

EvaluationReport LottoReport(const LottoOdds& odds, bool plannedExact) {
    EvaluationReport report;
    report.title = "Losfix 2.0 – Auswertung der Reihen";
    report.facts = {{"Reihen", "1 Reihe mit je 2 Zahlen aus der Zahlenmenge 5"},
                    {"Ziehung", "1 4"}};
    report.summary = "2 Richtige: 0 Reihen · 1 Richtige: 1 Reihe";
    report.sections.push_back(LottoOddsSection(odds, 2, 5, 2, 1, plannedExact));
    return report;
}

// A sample of rows of 3 from 40, draws of 3.
LottoOdds TenMillionSampled() {
    LottoOdds odds;
    odds.draws = 10'000'000;
    odds.exact = false;
    odds.bestRow = {4'000'000, 5'000'000, 999'000, 1'000};
    odds.anyRow = {6'000'000, 5'500'000, 999'500, 1'000};
    odds.rowsTotal = {9'000'000, 8'000'000, 1'200'000, 1'000};
    odds.rowsSquares = {12e6, 9e6, 1.5e6, 1e3};
    return odds;
}

// The decimals of a German figure such as "12,3457 %".
int DecimalsOf(const std::string& figure) {
    const std::size_t comma = figure.find(',');
    return comma == std::string::npos ? 0 : static_cast<int>(figure.find(' ', comma) - comma - 1);
}

double PercentValue(std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    return std::stod(text);
}

// ---- numbers ---------------------------------------------------------------------------------

TEST(EvaluationNumbersTest, GermanGroupingAndDigits) {
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1.000");
    EXPECT_EQ(GroupThousands(13'983'816), "13.983.816");
    EXPECT_EQ(GroupThousands(18'446'744'073'709'551'615ULL), "18.446.744.073.709.551.615");

    EXPECT_EQ(FormatCount(0), "0");
    EXPECT_EQ(FormatCount(43'596.64), "43.596,6");
    EXPECT_EQ(FormatCount(2.5), "2,5000");
    EXPECT_EQ(FormatCount(120.0 / 13'983'816), "0,0000085813");
    EXPECT_EQ(FormatCount(1'234'567.89), "1.234.567,9");
    EXPECT_EQ(FormatCount(-12.5), "-12,500");

    // Twelve significant digits, no exponent, no trailing zeros: what a spreadsheet reads exactly.
    EXPECT_EQ(CsvNumber(0), "0");
    EXPECT_EQ(CsvNumber(60), "60");
    EXPECT_EQ(CsvNumber(1.765040), "1,76504");
    EXPECT_EQ(CsvNumber(100.0 / 13'983'816), "0,00000715112384202");
    EXPECT_EQ(CsvNumber(1e9 + 0.5), "1000000000,5");
}

// ---- the lottery odds ------------------------------------------------------------------------

TEST(LottoOddsSectionTest, ExactOddsAsClipboardTextAndCsvByteForByte) {
    const EvaluationReport report = LottoReport(OneRowTwoOfFive(), true);
    EXPECT_EQ(EvaluationClipboardText(report),
              "Losfix 2.0 – Auswertung der Reihen\r\n"
              "Reihen: 1 Reihe mit je 2 Zahlen aus der Zahlenmenge 5\r\n"
              "Ziehung: 1 4\r\n"
              "2 Richtige: 0 Reihen · 1 Richtige: 1 Reihe\r\n"
              "\r\n"
              "Gewinnchancen\r\n"
              "Exakt über alle 10 möglichen Ziehungen (2 aus 5).\r\n"
              "Richtige\tBeste Reihe hat genau so viele\tZiehungen\t"
              "Mindestens eine Reihe mit so vielen\tZiehungen\tReihen mit so vielen im Mittel\r\n"
              "2\t10,0000 %\t1\t10,0000 %\t1\t0,10000\r\n"
              "1\t60,0000 %\t6\t60,0000 %\t6\t0,60000\r\n"
              "0\t30,0000 %\t3\t30,0000 %\t3\t0,30000\r\n"
              "Kein Gewinn (weniger als 1 Richtige): 30,0000 %, in 3 von 10 Ziehungen\r\n");
    // Windows-1252: the dash is 0x96, the dot 0xB7, the umlaut 0xFC; CR LF after every line.
    EXPECT_EQ(EvaluationCsv(report),
              "Losfix 2.0 \x96 Auswertung der Reihen\r\n"
              "Reihen;1 Reihe mit je 2 Zahlen aus der Zahlenmenge 5\r\n"
              "Ziehung;1 4\r\n"
              "Treffer;2 Richtige: 0 Reihen \xB7 1 Richtige: 1 Reihe\r\n"
              "\r\n"
              "Gewinnchancen\r\n"
              "Exakt \xFC"
              "ber alle 10 m\xF6glichen Ziehungen (2 aus 5).\r\n"
              "Richtige;Beste Reihe hat genau so viele (%);Ziehungen;"
              "Mindestens eine Reihe mit so vielen (%);Ziehungen;Reihen mit so vielen im Mittel\r\n"
              "2;10;1;10;1;0,1\r\n"
              "1;60;6;60;6;0,6\r\n"
              "0;30;3;30;3;0,3\r\n"
              "Kein Gewinn (weniger als 1 Richtige): 30,0000 %, in 3 von 10 Ziehungen\r\n");
}

TEST(LottoOddsSectionTest, SmallChancesSayOneInAndImpossibleClassesAreLeftOut) {
    // 6 of 49, one row: the hypergeometric counts.
    LottoOdds odds;
    odds.draws = 13'983'816;
    odds.bestRow = {6'096'454, 5'775'588, 1'851'150, 246'820, 13'545, 258, 1};
    odds.anyRow = odds.bestRow;
    odds.rowsTotal = odds.bestRow;
    odds.rowsSquares.assign(7, 0);
    const OddsSection section = LottoOddsSection(odds, 6, 49, 6, 3, true);
    ASSERT_EQ(section.shown.rows.size(), 7U);
    EXPECT_EQ(section.shown.rows[0][0], "6");
    EXPECT_NE(section.shown.rows[0][1].find("(1 zu 13.983.816)"), std::string::npos);
    EXPECT_EQ(section.shown.rows[0][2], "1");
    EXPECT_NE(section.shown.rows[3][1].find("(1 zu 56,7)"), std::string::npos);
    EXPECT_EQ(section.shown.rows[3][2], "246.820");
    // 43,6 % is no small chance: no "1 zu".
    EXPECT_EQ(section.shown.rows[6][1].find("1 zu"), std::string::npos);
    EXPECT_EQ(section.footer.substr(0, 38), "Kein Gewinn (weniger als 3 Richtige): ");
    EXPECT_NE(section.footer.find("in 13.723.192 von 13.983.816 Ziehungen"), std::string::npos);

    // Rows of 16 from 35 with draws of 20 hit at least one number in every draw.
    LottoOdds wide;
    wide.draws = 1000;
    wide.exact = false;
    wide.bestRow.assign(17, 0);
    wide.bestRow[9] = 1000;
    wide.anyRow = wide.bestRow;
    wide.rowsTotal = wide.bestRow;
    wide.rowsSquares.assign(17, 1000);
    const OddsSection sample = LottoOddsSection(wide, 16, 35, 20, 3, false);
    ASSERT_EQ(sample.shown.rows.size(), 16U);
    EXPECT_EQ(sample.shown.rows.back()[0], "1");
}

TEST(LottoOddsSectionTest, ASampleShowsItsIntervalsAndSaysSo) {
    const LottoOdds odds = TenMillionSampled();
    const OddsSection section = LottoOddsSection(odds, 3, 40, 3, 2, false);
    EXPECT_TRUE(section.estimated);
    EXPECT_EQ(section.basis,
              "Geschätzt aus 10.000.000 zufälligen Ziehungen von 9.880 möglichen (3 aus 40); in "
              "Klammern die 95-%-Intervalle.");
    ASSERT_EQ(section.shown.rows.size(), 4U);
    for (const auto& row : section.shown.rows) {
        for (const int column : {1, 3}) {
            // "12,3457 % (12,3301 % – 12,3613 %)": the bounds as precise as the figure and
            // around it.
            const std::string& cell = row[static_cast<std::size_t>(column)];
            const std::size_t open = cell.find(" (");
            const std::size_t dash = cell.find(" – ");
            ASSERT_NE(open, std::string::npos) << cell;
            ASSERT_NE(dash, std::string::npos) << cell;
            const std::string figure = cell.substr(0, open);
            const std::string low = cell.substr(open + 2, dash - open - 2);
            const std::string high = cell.substr(dash + 5, cell.size() - dash - 6);
            EXPECT_EQ(DecimalsOf(low), DecimalsOf(figure)) << cell;
            EXPECT_EQ(DecimalsOf(high), DecimalsOf(figure)) << cell;
            EXPECT_LE(PercentValue(low), PercentValue(figure)) << cell;
            EXPECT_GE(PercentValue(high), PercentValue(figure)) << cell;
        }
        EXPECT_NE(row[5].find(" – "), std::string::npos);
    }
    // The CSV has the bounds in columns of their own.
    ASSERT_EQ(section.csv.header.size(), 12U);
    EXPECT_EQ(section.csv.header[2], "95-%-Intervall von (%)");
    EXPECT_EQ(section.csv.rows[0][0], "3");
    EXPECT_EQ(section.csv.rows[0][1], "0,01");
    EXPECT_EQ(section.csv.rows[0][4], "1000");
    EXPECT_NE(section.footer.find("Ziehungen der Stichprobe"), std::string::npos);
}

TEST(LottoOddsSectionTest, ACertaintyInASampleEndsAtAHundredPercent) {
    LottoOdds odds;
    odds.draws = 10'089;
    odds.exact = false;
    odds.bestRow = {0, 10'089};
    odds.anyRow = {10'089, 10'089};
    odds.rowsTotal = {20'000, 10'089};
    odds.rowsSquares = {40'000, 10'089};
    const OddsSection section = LottoOddsSection(odds, 1, 49, 20, 1, false);
    ASSERT_EQ(section.shown.rows.size(), 2U);
    const std::string& certain = section.shown.rows[0][3];
    EXPECT_EQ(certain.substr(0, 7), "100 % (");
    EXPECT_EQ(certain.substr(certain.size() - 11), " – 100 %)") << certain;
    EXPECT_EQ(section.shown.rows[0][1].substr(0, 7), "100 % (");
    EXPECT_EQ(section.shown.rows[1][1].substr(0, 6), "0 % (0") << section.shown.rows[1][1];
}

TEST(LottoOddsSectionTest, AStoppedExactRunGivesNoFigures) {
    LottoOdds odds = OneRowTwoOfFive();
    odds.draws = 4;
    odds.exact = false;
    odds.stopped = true;
    const OddsSection section = LottoOddsSection(odds, 2, 5, 2, 1, true);
    EXPECT_TRUE(section.shown.rows.empty());
    EXPECT_TRUE(section.csv.rows.empty());
    EXPECT_TRUE(section.footer.empty());
    EXPECT_EQ(section.basis,
              "Berechnung gestoppt nach 4 von 10 Ziehungen: ohne alle Ziehungen gibt es keine "
              "genauen Werte.");
    // A stopped sample is still a uniform sample.
    const OddsSection sample = LottoOddsSection(odds, 2, 5, 2, 1, false);
    EXPECT_EQ(sample.shown.rows.size(), 3U);
    EXPECT_EQ(sample.basis.rfind("Gestoppt: geschätzt aus 4 zufälligen Ziehungen", 0), 0U);

    LottoOdds none;
    none.bestRow = {0, 0};
    EXPECT_EQ(LottoOddsSection(none, 1, 5, 1, 1, false).basis, "Keine Ziehung berechnet.");
    none.stopped = true;
    none.exact = false;
    EXPECT_EQ(LottoOddsSection(none, 1, 5, 1, 1, false).basis,
              "Gestoppt, bevor eine Ziehung berechnet war.");
    EXPECT_TRUE(LottoOddsSection(none, 1, 5, 1, 1, false).shown.rows.empty());
}

// ---- the football odds -----------------------------------------------------------------------

TEST(TipOddsSectionTest, OneRowOverAllResults) {
    // One tip row: C(13, c) * 2^(13 - c) results with exactly c correct.
    TipOdds odds;
    odds.total = kTipResultCount;
    std::uint64_t ways = 1;
    for (int c = 13; c >= 0; --c) {
        const auto index = static_cast<std::size_t>(c);
        odds.bestRow[index] = odds.anyRow[index] = ways;
        odds.rowsTotal[index] = static_cast<long double>(ways);
        ways = ways * static_cast<std::uint64_t>(c) * 2 / static_cast<std::uint64_t>(14 - c);
    }
    const OddsSection section = TipOddsSection(odds, false);
    EXPECT_EQ(section.title, "Alle Ergebnisse gleich wahrscheinlich");
    EXPECT_EQ(section.basis,
              "Exakt über alle 1.594.323 möglichen Ergebnisse, jedes gleich wahrscheinlich.");
    ASSERT_EQ(section.shown.rows.size(), 14U);
    EXPECT_EQ(section.shown.header[2], "Ergebnisse");
    EXPECT_EQ(section.shown.rows[0][0], "13");
    EXPECT_EQ(section.shown.rows[0][2], "1");
    EXPECT_NE(section.shown.rows[0][1].find("(1 zu 1.594.323)"), std::string::npos);
    EXPECT_EQ(section.shown.rows[1][2], "26");
    EXPECT_EQ(section.shown.rows[2][2], "312");
    EXPECT_EQ(section.shown.rows[3][2], "2.288");
    EXPECT_EQ(section.csv.rows[3],
              (std::vector<std::string>{"10", CsvNumber(100 * 2288.0 / 1594323), "2288",
                                        CsvNumber(100 * 2288.0 / 1594323), "2288",
                                        CsvNumber(2288.0 / 1594323)}));
    // 1 + 26 + 312 + 2288 results win something.
    const double lose = (1594323.0 - 2627.0) / 1594323.0;
    EXPECT_EQ(section.footer, "Kein Gewinn (weniger als 10 Richtige): " + FormatPercent(lose));

    const OddsSection weighted = TipOddsSection(odds, true);
    EXPECT_EQ(weighted.title, "Nach Ihren Tipp-Status gewichtet");
    EXPECT_EQ(weighted.shown.header[2], "Gewicht");
    EXPECT_NE(weighted.basis.find("Gesamtgewicht 1.594.323."), std::string::npos);

    TipOdds stopped;
    stopped.stopped = true;
    EXPECT_TRUE(TipOddsSection(stopped, false).shown.rows.empty());
    TipOdds impossible;
    EXPECT_EQ(TipOddsSection(impossible, true).basis,
              "Kein Ergebnis ist nach den Tipp-Status möglich.");
}

// A printed summary as lines of text: the head, then every table with its caption, header and
// rows, the cells of a line joined by " | ", the alignment of a column after its caption.
std::string PrintedText(const PrintDocument& document) {
    std::string text = document.title + "\n";
    for (const std::string& line : document.headLines) {
        text += line + "\n";
    }
    for (const PrintTable& table : document.tables) {
        text += "--" + std::string(table.flow ? " flowing" : "") +
                (table.labelColumn ? " labelled" : "") + (table.keepWhole ? " whole" : "") +
                (table.keepWithNext ? " with next" : "") + "\n";
        if (!table.caption.empty()) {
            text += "[" + table.caption + "]\n";
        }
        for (std::size_t c = 0; c < table.header.size(); ++c) {
            std::string caption = table.header[c];
            std::replace(caption.begin(), caption.end(), '\n', '/');
            text += (c == 0 ? "" : " | ") + caption + "<>="[static_cast<int>(table.alignment(c))];
        }
        text += table.header.empty() ? "" : "\n";
        for (const auto& row : table.rows) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                text += (c == 0 ? "" : " | ") + row[c].text;
            }
            text += "\n";
        }
    }
    return text;
}

LottoRows PrintedRows() {
    LottoRows rows;
    rows.poolSize = 49;
    rows.rowSize = 6;
    for (const auto& numbers : std::vector<std::vector<int>>{
             {3, 12, 19, 27, 33, 41}, {1, 2, 3, 4, 5, 7}, {8, 9, 10, 11, 13, 14}}) {
        NumberSet set;
        for (const int n : numbers) {
            set.add(n);
        }
        rows.rows.push_back(set);
    }
    rows.tableRow = {1, 2, 5};
    return rows;
}

TEST(EvaluationPrintTest, TheSummaryTheOddsAndEveryRowsHitsOnPaper) {
    const LottoRows rows = PrintedRows();
    const LottoDraw draw{{3, 12, 19, 27, 33, 40}, 7};
    const LottoHits hits = CountLottoHits(rows, draw);
    EvaluationReport report;
    report.title = "Losfix 2.0 – Auswertung der Reihen";
    report.facts = {{"Reihen", "3 Reihen mit je 6 Zahlen aus der Zahlenmenge 49"},
                    {"Ziehung", "3 12 19 27 33 40"},
                    {"Zusatzzahl", "7"}};
    report.summary = LottoHitSummary(hits, 6, 6, 49, 1);
    const LottoOdds odds = TenMillionSampled();
    report.sections.push_back(LottoOddsSection(odds, 3, 40, 3, 2, false));
    const PrintDocument document =
        SummaryPrintDocument(EvaluationPrintSummary(report, LottoHitPrintTable(rows, hits, draw)));
    EXPECT_EQ(PrintedText(document),
              "Losfix 2.0\n"
              "Auswertung der Reihen\n"
              "3 Reihen mit je 6 Zahlen aus der Zahlenmenge 49\n"
              "Ziehung: 3 12 19 27 33 40 · Zusatzzahl: 7\n"
              "--\n"
              "6 Richtige: 0 Reihen · 5 Richtige: 1 Reihe · 4 Richtige: 0 Reihen · 3 Richtige: 0 "
              "Reihen ·\n"
              "2 Richtige: 0 Reihen · 1 Richtige: 1 Reihe\n"
              "-- with next\n"
              "[Gewinnchancen]\n"
              "Geschätzt aus 10.000.000 zufälligen Ziehungen von 9.880 möglichen (3 aus 40); in "
              "Klammern die 95-%-Intervalle.\n"
              "-- whole with next\n"
              "Richtige= | Beste Reihe hat/genau so viele> | Ziehungen> | "
              "Mindestens eine/Reihe mit so vielen> | Ziehungen> | Reihen mit so/vielen im "
              "Mittel>\n"
              "3 | 0,01000 % | 1.000 | 0,01000 % | 1.000 | 0,00010000\n"
              " | (0,00940 % – 0,01064 %) |  | (0,00940 % – 0,01064 %) |  | (0,000093802 – "
              "0,00010620)\n"
              "2 | 9,9900 % | 999.000 | 9,9950 % | 999.500 | 0,12000\n"
              " | (9,9714 % – 10,0086 %) |  | (9,9764 % – 10,0136 %) |  | (0,11977 – 0,12023)\n"
              "1 | 50,0000 % | 5.000.000 | 55,0000 % | 5.500.000 | 0,80000\n"
              " | (49,9690 % – 50,0310 %) |  | (54,9692 % – 55,0308 %) |  | (0,79968 – 0,80032)\n"
              "0 | 40,0000 % | 4.000.000 | 60,0000 % | 6.000.000 | 0,90000\n"
              " | (39,9696 % – 40,0304 %) |  | (59,9696 % – 60,0304 %) |  | (0,89961 – 0,90039)\n"
              "--\n"
              "Kein Gewinn (weniger als 2 Richtige): 90,0000 % (89,9814 % – 90,0186 %), in "
              "9.000.000 von 10.000.000 Ziehungen\n"
              "der Stichprobe\n"
              "-- flowing labelled\n"
              "[Treffer der Reihen]\n"
              "Reihe> | Zahlen< | Richtige= | Getroffen< | Zusatzzahl=\n"
              "1 | 3 12 19 27 33 41 | 5 | 3 12 19 27 33 | \n"
              "2 | 1 2 3 4 5 7 | 1 | 3 | ja\n"
              "5 | 8 9 10 11 13 14 | 0 |  | \n");

    // Without an additional number its column is left out; tips print alike.
    const PrintTable plain = LottoHitPrintTable(rows, hits, {draw.numbers, 0});
    EXPECT_EQ(plain.header.size(), 4U);
    EXPECT_EQ(plain.rows.at(1).size(), 4U);
    const std::vector<TipRow> tips = {TipRow{1, 0, 2, 1, 1, 0, 2, 2, 1, 0, 1, 2, 0},
                                      TipRow{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}};
    const TipRow results = {1, 0, 2, 1, 1, 0, 2, 2, 1, 0, 1, 2, 2};
    PrintDocument tipsDocument;
    tipsDocument.tables.push_back(TipHitPrintTable(tips, CountTipHits(tips, results), results));
    EXPECT_EQ(PrintedText(tipsDocument),
              "\n"
              "-- flowing labelled\n"
              "[Richtige der Tippreihen]\n"
              "Reihe> | Tipp< | Falsch getippt in Spiel< | Richtige=\n"
              "1 | 1,0,2,1,1,0,2,2,1,0,1,2,0 | 13 | 12\n"
              "2 | 2,2,2,2,2,2,2,2,2,2,2,2,2 | 1, 2, 4, 5, 6, 9, 10, 11 | 5\n");
}

TEST(EvaluationCsvTest, CellsWithSeparatorsAreQuotedAndSectionsFollowEachOther) {
    EvaluationReport report;
    report.title = "Titel";
    report.facts = {{"Datei", "a;b \"c\""}};
    OddsSection first;
    first.title = "Erste";
    first.basis = "Grundlage";
    first.csv.header = {"x", "y"};
    first.csv.rows = {{"1", "2;3"}};
    first.shown = first.csv;
    OddsSection second;
    second.title = "Zweite";
    second.basis = "ohne Tabelle";
    report.sections = {first, second};
    EXPECT_EQ(EvaluationCsv(report),
              "Titel\r\nDatei;\"a;b \"\"c\"\"\"\r\n\r\nErste\r\nGrundlage\r\nx;y\r\n1;\"2;3\"\r\n"
              "\r\nZweite\r\nohne Tabelle\r\n");
    EXPECT_EQ(EvaluationClipboardText(report),
              "Titel\r\nDatei: a;b \"c\"\r\n\r\nErste\r\nGrundlage\r\nx\ty\r\n1\t2;3\r\n\r\n"
              "Zweite\r\nohne Tabelle\r\n");
    // What is written reads back as it was shown.
    const std::vector<std::string> lines =
        ReadTextLines(EvaluationCsv(LottoReport(OneRowTwoOfFive(), true)));
    EXPECT_EQ(lines[0], "Losfix 2.0 – Auswertung der Reihen");
    EXPECT_EQ(lines[3], "Treffer;2 Richtige: 0 Reihen · 1 Richtige: 1 Reihe");
}

// ---- the settings ----------------------------------------------------------------------------

constexpr const char* kIni = "/s/einstellungen.ini";

TEST(EvaluationSettingsTest, DefaultsRangesAndARoundTrip) {
    MemoryFileSystem files;
    IniFile ini(files, kIni);
    EXPECT_EQ(ReadEvaluationSettings(ini), EvaluationSettings{});
    EXPECT_EQ(ReadEvaluationSettings(ini).drawSize, 0);
    EXPECT_EQ(ReadEvaluationSettings(ini).lowestClass, 3);

    files.files[kIni] = "[auswertung]\r\nGEZOGEN=20\r\nKlasse=1\r\n";
    EXPECT_EQ(ReadEvaluationSettings(ini), (EvaluationSettings{20, 1}));
    for (const char* bad : {"0", "21", "-3", "sechs", ""}) {
        files.files[kIni] = std::string("[Auswertung]\r\nGezogen=") + bad + "\r\nKlasse=17\r\n";
        EXPECT_EQ(ReadEvaluationSettings(ini), EvaluationSettings{}) << bad;
    }

    files.files.clear();
    WriteEvaluationSettings(ini, {7, 4});
    EXPECT_EQ(ReadEvaluationSettings(ini), (EvaluationSettings{7, 4}));
}

TEST(EvaluationSettingsTest, OlderFilesKeepEveryLineAndTheMainSettingsReadAsBefore) {
    MemoryFileSystem files;
    IniFile ini(files, kIni);
    WriteMainSettings(ini, MainSettings{});
    const std::string before = files.files[kIni];
    WriteEvaluationSettings(ini, {6, 3});
    EXPECT_EQ(files.files[kIni], before + "[Auswertung]\r\nGezogen=6\r\nKlasse=3\r\n");
    const MainSettings read = ReadMainSettings(ini);
    EXPECT_EQ(read.rowCount, "120");
    EXPECT_EQ(read.congruence, 2);

    files.unwritable.insert(kIni);
    EXPECT_THROW(WriteEvaluationSettings(ini, {6, 3}), Error);
}

}  // namespace
}  // namespace losfix
