#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/common/StringGrid.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipTable.h"
#include "core/lottery/NumberStatus.h"
#include "core/lottery/RowGenerator.h"

namespace losfix {

// What a printed number shows of its status, so that the page reads in black and white too:
// bankers bold in a box, favourites underlined with a small raised I, II or III.
enum class PrintMark : std::uint8_t { None, Bank, FavI, FavII, FavIII };

PrintMark MarkOfStatus(NumberStatus status);
// The status whose colour a mark is printed on (Normal for none).
NumberStatus StatusOfMark(PrintMark mark);
// "I", "II", "III" for the favourites, "" otherwise.
const char* MarkSuffix(PrintMark mark);

struct PrintCell {
    std::string text;
    PrintMark mark = PrintMark::None;

    bool operator==(const PrintCell&) const = default;
};

enum class PrintAlign : std::uint8_t { Left, Right, Center };

// One table of text. The rows of a flowing table run down the page in as many side-by-side
// columns as fit, each column under its own header line; other tables keep one column. A table
// without rows is a line of text (its caption).
struct PrintTable {
    std::string caption;              // a bold line above the table; may be empty
    std::vector<std::string> header;  // the header line, '\n' for a second one; empty for none
    std::vector<PrintAlign> align;    // per column; columns without an entry are left-aligned
    std::vector<std::vector<PrintCell>> rows;
    bool flow = false;
    bool labelColumn = false;  // the first column names the row: set apart, in grey
    bool evenColumns = false;  // the columns after the first share one width, as on a slip
    std::string narrowest;     // the columns after the first are at least as wide as this text
    // A table that a page can hold whole starts on the next page rather than be split; with
    // `keepWithNext` it also stays on the page of the table after it.
    bool keepWhole = false;
    bool keepWithNext = false;

    PrintAlign alignment(std::size_t column) const {
        return column < align.size() ? align[column] : PrintAlign::Left;
    }
    std::size_t columnCount() const;
    // The lines of the header: those of its longest caption, 0 without a header.
    int headerLines() const;
};

// The lines of a header caption.
std::vector<std::string> CaptionLines(const std::string& caption);

struct PrintLegendEntry {
    PrintCell sample;
    std::string text;
};

// A printed document: the head that every page repeats, then the tables in order.
struct PrintDocument {
    std::string title;                     // "Losfix 2.0"
    std::string printedAt;                 // filled in when printing starts
    std::vector<std::string> headLines;    // what the pages show: pool, run, file, counts
    std::vector<PrintLegendEntry> legend;  // under the head of every page; empty when unused
    std::vector<PrintTable> tables;
};

// "Seite 3 von 7".
std::string PageText(int page, int pageCount);
// "05.06.2025, 14:03 Uhr" from the parts of a local time.
std::string PrintedAtText(int year, int month, int day, int hour, int minute);

// Where the row table came from, as the head names it.
struct RowsOrigin {
    int poolSize = 49;               // the board's pool when printing
    std::optional<RunSettings> run;  // the run that filled the table, if it did
    std::string fileName;            // the row file loaded or saved last, without its folder
};

// The data rows of the row table that hold anything: the label trimmed and the numbers in
// ascending order, each marked by the status it has now. Texts that are no number 1..90 (from a
// foreign file) follow the numbers unmarked; blank cells are left out.
std::vector<std::vector<PrintCell>> PrintRowsOfTable(const StringGrid& table,
                                                     const std::array<NumberStatus, 90>& statuses);

// True when no data row of the table holds anything to print.
bool RowTableEmpty(const StringGrid& table);

// The rows of the table, flowing in columns, with head lines and the legend of the marks in use;
// with `counts`, the number distribution of the run as a small table at the end.
PrintDocument RowsPrintDocument(const StringGrid& table,
                                const std::array<NumberStatus, 90>& statuses,
                                const RowsOrigin& origin, const DrawCounts* counts);

// The tip rows as a grid (row x match), the counts of the board in the head and the outcome
// counts as a table at the end. `fileName` is the last saved tip row file ("" for none).
PrintDocument TipsPrintDocument(const StringGrid& tipTable, const CountLabels& labels,
                                const OutcomeCounts& counts, const std::string& fileName);

// True when no tip row holds a tip.
bool TipTableEmpty(const StringGrid& tipTable);

// A titled summary with text tables, printed under the same head: for windows that print
// their own results. The title becomes the first head line.
struct PrintSummary {
    std::string title;
    std::vector<std::string> lines;  // further head lines
    std::vector<PrintTable> tables;
};
PrintDocument SummaryPrintDocument(const PrintSummary& summary);

// The name a PDF is proposed under: the file's name with ".pdf" for its extension, else
// "<fallbackStem> JJJJ-MM-TT.pdf".
std::string ProposedPdfName(const std::string& fileName, const std::string& fallbackStem, int year,
                            int month, int day);

}  // namespace losfix
