#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/eval/FootballEvaluation.h"
#include "core/eval/LottoEvaluation.h"
#include "core/export/PrintDocument.h"

namespace losfix {

// What the evaluation windows show, as texts, and how it goes to the clipboard and into a CSV
// file. Nothing here knows a window: the windows fill their tables from these texts.

// "13.983.816"
std::string GroupThousands(std::uint64_t value);
// About five significant digits, at least one decimal, thousands grouped: "43.596,6", "0,0000086".
std::string FormatCount(double value);
// Enough digits for a spreadsheet, decimal comma, no grouping, no exponent: "0,00000715112".
std::string CsvNumber(double value);

// A table as shown: column captions (a '\n' where the window breaks the caption) and rows of
// texts; the CSV form of the same table has plain numbers.
struct ReportTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// One table of odds with the lines around it.
struct OddsSection {
    std::string title;   // "Gewinnchancen"
    std::string basis;   // what the figures rest on: exact, estimated, stopped
    std::string footer;  // the chance of no win, or empty
    ReportTable shown;   // for the window and the clipboard
    ReportTable csv;     // for the CSV file
    bool estimated = false;
};

// Everything one evaluation says: a few facts ("Reihen", "120"), the hit summary of the entered
// draw (or empty) and the odds sections computed so far.
struct EvaluationReport {
    std::string title;
    std::vector<std::pair<std::string, std::string>> facts;
    std::string summary;
    std::vector<OddsSection> sections;
};

// The odds of lottery rows: one row per number of hits that can occur, highest first. An exact run
// gives the counts of draws behind every figure; a sample gives its 95 % intervals and says so. A
// stopped run that was to be exact gives no table (its draws are no uniform sample), only the
// basis. `plannedExact`: the run was started as an exact one.
OddsSection LottoOddsSection(const LottoOdds& odds, int rowSize, int poolSize, int drawSize,
                             int lowestClass, bool plannedExact);

// The odds of football tip rows over all results, uniform or weighted by the tip statuses.
// A stopped run gives no table.
OddsSection TipOddsSection(const TipOdds& odds, bool weighted);

// Lines joined by CR LF (with one after the last): title, facts, summary, then every section
// with its basis, the table in tab-separated columns and its footer.
std::string EvaluationClipboardText(const EvaluationReport& report);

// The same content as semicolon-separated lines with plain numbers, in the program's text file
// form (Windows-1252, CR LF after every line). Cells holding a semicolon, a quote or a line break
// are quoted.
std::string EvaluationCsv(const EvaluationReport& report);

// The table of hits of an evaluated draw as the window shows it: the captions ("Reihe",
// "Zahlen", "Richtige", "Getroffen", "Zusatzzahl") and the text of one cell, `row` indexing
// rows.rows and `column` the captions.
std::vector<std::string> LottoHitHeader();
std::string LottoHitCell(const LottoRows& rows, const LottoHits& hits, const NumberSet& drawn,
                         int additional, std::size_t row, int column);
// The same for the tip rows: "Reihe", "Tipp", "Falsch getippt in Spiel", "Richtige".
std::vector<std::string> TipHitHeader();
std::string TipHitCell(const std::vector<TipRow>& rows, const TipHits& hits, const TipRow& results,
                       std::size_t row, int column);

// Every row of those tables, to print, flowing in columns as many as fit beside each other. The
// column of the additional number is left out when the draw has none.
PrintTable LottoHitPrintTable(const LottoRows& rows, const LottoHits& hits, const LottoDraw& draw);
PrintTable TipHitPrintTable(const std::vector<TipRow>& rows, const TipHits& hits,
                            const TipRow& results);

// What an evaluation window prints: its title and the facts in the head of every page (the
// first fact, the rows, by its value alone), then the hit summary, every odds section with its
// basis, table and footer, and last the table of hits (none while no draw is evaluated). Long
// lines are wrapped between words, the summary between its classes; a figure's parenthesis
// (the "1 zu …" or the interval) stands on a line of its own below it.
PrintSummary EvaluationPrintSummary(const EvaluationReport& report, PrintTable hits);

}  // namespace losfix
