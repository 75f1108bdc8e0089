#include "core/export/PrintDocument.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/app/Program.h"
#include "core/lottery/PoolLayouts.h"
#include "core/lottery/RowTable.h"

namespace losfix {

namespace {

constexpr const char* kSeparator = " \xC2\xB7 ";  // " · "

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string Counted(int count, const char* one, const char* many) {
    return FormatThousands(static_cast<std::uint64_t>(std::max(count, 0))) + " " +
           (count == 1 ? one : many);
}

const char* PairRuleText(PairRule rule) {
    switch (rule) {
        case PairRule::NoCheck:
            return "keine Kontrolle";
        case PairRule::EveryRow:
            return "in jeder Reihe";
        case PairRule::EverySecond:
            return "in jeder zweiten";
        case PairRule::EveryThird:
            return "in jeder dritten";
        case PairRule::EveryFourth:
            return "in jeder vierten";
        case PairRule::Exclude:
            return "nein, ausschließen";
    }
    return "";
}

const char* MarkName(PrintMark mark) {
    switch (mark) {
        case PrintMark::Bank:
            return "Bank";
        case PrintMark::FavI:
            return "Fav I";
        case PrintMark::FavII:
            return "Fav II";
        case PrintMark::FavIII:
            return "Fav III";
        case PrintMark::None:
            break;
    }
    return "";
}

// The smallest pool of the choice that holds the number, or the largest pool.
int PoolHolding(int number) {
    for (const PoolLayout& layout : PoolLayouts) {
        if (layout.poolSize >= number) {
            return layout.poolSize;
        }
    }
    return PoolLayouts.back().poolSize;
}

bool RowHoldsAnything(const StringGrid& table, int row) {
    for (int column = 0; column < table.columnCount(); ++column) {
        if (table.cell(column, row).find_first_not_of(" \t\r\n") != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

PrintMark MarkOfStatus(NumberStatus status) {
    constexpr std::array<PrintMark, kStatusCount> marks = {PrintMark::None,   PrintMark::None,
                                                           PrintMark::FavI,   PrintMark::FavII,
                                                           PrintMark::FavIII, PrintMark::Bank};
    return marks[static_cast<std::size_t>(status)];
}

NumberStatus StatusOfMark(PrintMark mark) {
    constexpr std::array<NumberStatus, 5> statuses = {NumberStatus::Normal, NumberStatus::Bank,
                                                      NumberStatus::FavI, NumberStatus::FavII,
                                                      NumberStatus::FavIII};
    return statuses[static_cast<std::size_t>(mark)];
}

const char* MarkSuffix(PrintMark mark) {
    switch (mark) {
        case PrintMark::FavI:
            return "I";
        case PrintMark::FavII:
            return "II";
        case PrintMark::FavIII:
            return "III";
        case PrintMark::None:
        case PrintMark::Bank:
            break;
    }
    return "";
}

std::size_t PrintTable::columnCount() const {
    std::size_t count = header.size();
    for (const auto& row : rows) {
        count = std::max(count, row.size());
    }
    return count;
}

int PrintTable::headerLines() const {
    int lines = 0;
    for (const std::string& caption : header) {
        lines =
            std::max(lines, static_cast<int>(std::count(caption.begin(), caption.end(), '\n')) + 1);
    }
    return lines;
}

std::vector<std::string> CaptionLines(const std::string& caption) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = caption.find('\n', start);
        lines.push_back(caption.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return lines;
        }
        start = end + 1;
    }
}

std::string PageText(int page, int pageCount) {
    return "Seite " + std::to_string(page) + " von " + std::to_string(pageCount);
}

std::string PrintedAtText(int year, int month, int day, int hour, int minute) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d, %02d:%02d Uhr", day, month, year, hour,
                  minute);
    return text;
}

bool RowTableEmpty(const StringGrid& table) {
    for (int row = 1; row < table.rowCount(); ++row) {
        if (RowHoldsAnything(table, row)) {
            return false;
        }
    }
    return true;
}

std::vector<std::vector<PrintCell>> PrintRowsOfTable(const StringGrid& table,
                                                     const std::array<NumberStatus, 90>& statuses) {
    std::vector<std::vector<PrintCell>> rows;
    std::vector<int> numbers;
    std::vector<std::string> others;
    for (int row = 1; row < table.rowCount(); ++row) {
        if (!RowHoldsAnything(table, row)) {
            continue;
        }
        numbers.clear();
        others.clear();
        for (int column = 1; column < table.columnCount(); ++column) {
            const std::string& text = table.cell(column, row);
            if (const int number = CellNumber(text); number != 0) {
                numbers.push_back(number);
            } else if (std::string trimmed = Trimmed(text); !trimmed.empty()) {
                others.push_back(std::move(trimmed));
            }
        }
        std::sort(numbers.begin(), numbers.end());
        std::vector<PrintCell>& cells = rows.emplace_back();
        cells.reserve(1 + numbers.size() + others.size());
        cells.push_back({Trimmed(table.cell(0, row)), PrintMark::None});
        for (const int number : numbers) {
            cells.push_back({std::to_string(number),
                             MarkOfStatus(statuses[static_cast<std::size_t>(number - 1)])});
        }
        for (std::string& other : others) {
            cells.push_back({std::move(other), PrintMark::None});
        }
    }
    return rows;
}

PrintDocument RowsPrintDocument(const StringGrid& table,
                                const std::array<NumberStatus, 90>& statuses,
                                const RowsOrigin& origin, const DrawCounts* counts) {
    PrintDocument document;
    document.title = kProgramName;

    PrintTable rows;
    rows.flow = true;
    rows.labelColumn = true;
    // Single digits stand in columns of two, so that "2" and "4" never read as "24".
    rows.narrowest = "88";
    rows.rows = PrintRowsOfTable(table, statuses);
    rows.align.assign(kRowTableColumns, PrintAlign::Right);

    // What the head says of the rows; a loaded file tells its row size only by its rows.
    int rowSize = 0;
    int largest = 0;
    std::array<int, 5> firstOfMark{};  // the smallest printed number with each mark
    for (const auto& cells : rows.rows) {
        int numbersInRow = 0;
        for (std::size_t i = 1; i < cells.size(); ++i) {
            const int number = CellNumber(cells[i].text);
            if (number == 0) {
                continue;
            }
            ++numbersInRow;
            largest = std::max(largest, number);
            int& first = firstOfMark[static_cast<std::size_t>(cells[i].mark)];
            if (cells[i].mark != PrintMark::None && (first == 0 || number < first)) {
                first = number;
            }
        }
        rowSize = std::max(rowSize, numbersInRow);
    }
    int poolSize = std::max(origin.poolSize, PoolHolding(largest));
    if (origin.run) {
        rowSize = origin.run->rowSize;
        poolSize = origin.run->poolSize;
    }
    document.headLines.push_back(std::to_string(rowSize) + " aus " + std::to_string(poolSize) +
                                 kSeparator +
                                 Counted(static_cast<int>(rows.rows.size()), "Reihe", "Reihen"));
    if (origin.run) {
        const int limit = origin.run->congruenceLimit;
        document.headLines.push_back(
            "Max. Reihenkongruenz " + (limit >= kCongruenceMax ? "egal" : std::to_string(limit)) +
            kSeparator + "Zwei benachbarte Zahlen sichern: " + PairRuleText(origin.run->pairRule));
    }
    if (!origin.fileName.empty()) {
        document.headLines.push_back("Datei: " + origin.fileName);
    }

    for (const PrintMark mark :
         {PrintMark::Bank, PrintMark::FavI, PrintMark::FavII, PrintMark::FavIII}) {
        if (const int number = firstOfMark[static_cast<std::size_t>(mark)]; number != 0) {
            document.legend.push_back({{std::to_string(number), mark}, MarkName(mark)});
        }
    }
    document.tables.push_back(std::move(rows));

    if (counts != nullptr) {
        PrintTable distribution;
        distribution.caption = "Zahlenverteilung: in wie vielen Reihen jede Zahl vorkommt";
        distribution.header = {"Zahl", "Reihen"};
        distribution.align = {PrintAlign::Right, PrintAlign::Right};
        distribution.flow = true;
        for (int number = 1; number <= std::min(poolSize, kMaxNumber); ++number) {
            distribution.rows.push_back(
                {{std::to_string(number),
                  MarkOfStatus(statuses[static_cast<std::size_t>(number - 1)])},
                 {FormatThousands(static_cast<std::uint64_t>(
                      std::max((*counts)[static_cast<std::size_t>(number - 1)], 0))),
                  PrintMark::None}});
        }
        document.tables.push_back(std::move(distribution));
    }
    return document;
}

bool TipTableEmpty(const StringGrid& tipTable) {
    for (int row = 1; row < tipTable.rowCount(); ++row) {
        for (int match = 1; match < tipTable.columnCount(); ++match) {
            if (!Trimmed(tipTable.cell(match, row)).empty()) {
                return false;
            }
        }
    }
    return true;
}

PrintDocument TipsPrintDocument(const StringGrid& tipTable, const CountLabels& labels,
                                const OutcomeCounts& counts, const std::string& fileName) {
    PrintDocument document;
    document.title = kProgramName;

    PrintTable tips;
    tips.flow = true;
    tips.labelColumn = true;
    tips.evenColumns = true;
    tips.header.push_back("Reihe");
    for (int match = 1; match <= kMatchCount; ++match) {
        tips.header.push_back(std::to_string(match));
    }
    tips.align.assign(tips.header.size(), PrintAlign::Center);
    tips.align[0] = PrintAlign::Right;
    for (int row = 1; row < tipTable.rowCount(); ++row) {
        std::vector<PrintCell> cells;
        bool any = false;
        cells.push_back({Trimmed(tipTable.cell(0, row)), PrintMark::None});
        for (int match = 1; match <= kMatchCount; ++match) {
            std::string tip = Trimmed(tipTable.cell(match, row));
            any = any || !tip.empty();
            cells.push_back({std::move(tip), PrintMark::None});
        }
        if (any) {
            tips.rows.push_back(std::move(cells));
        }
    }

    document.headLines.push_back(
        "Fußballtipps: 13 Spiele" + std::string(kSeparator) +
        Counted(static_cast<int>(tips.rows.size()), "Tippreihe", "Tippreihen"));
    document.headLines.push_back("Kombinationen: " + labels.kombis + kSeparator +
                                 "ZW: " + labels.zw + kSeparator + "DW: " + labels.dw + kSeparator +
                                 "Bänke: " + labels.baenke);
    if (!fileName.empty()) {
        document.headLines.push_back("Datei: " + fileName);
    }
    document.tables.push_back(std::move(tips));

    PrintTable outcomes;
    outcomes.caption = "Wie oft jeder Tipp in den Reihen vorkommt";
    outcomes.evenColumns = true;
    outcomes.narrowest = "888";
    outcomes.header.push_back("Tipp");
    for (int match = 1; match <= kMatchCount; ++match) {
        outcomes.header.push_back(std::to_string(match));
    }
    outcomes.align.assign(outcomes.header.size(), PrintAlign::Center);
    constexpr std::array<const char*, kOutcomesPerMatch> kOutcomes = {"1", "0", "2"};
    for (int outcome = 0; outcome < kOutcomesPerMatch; ++outcome) {
        std::vector<PrintCell> cells;
        cells.push_back({kOutcomes[static_cast<std::size_t>(outcome)], PrintMark::None});
        for (int match = 0; match < kMatchCount; ++match) {
            const int count =
                counts[static_cast<std::size_t>(match)][static_cast<std::size_t>(outcome)];
            cells.push_back({count > 0 ? std::to_string(count) : "", PrintMark::None});
        }
        outcomes.rows.push_back(std::move(cells));
    }
    document.tables.push_back(std::move(outcomes));
    return document;
}

PrintDocument SummaryPrintDocument(const PrintSummary& summary) {
    PrintDocument document;
    document.title = kProgramName;
    if (!summary.title.empty()) {
        document.headLines.push_back(summary.title);
    }
    document.headLines.insert(document.headLines.end(), summary.lines.begin(), summary.lines.end());
    document.tables = summary.tables;
    return document;
}

std::string ProposedPdfName(const std::string& fileName, const std::string& fallbackStem, int year,
                            int month, int day) {
    if (!fileName.empty()) {
        const auto dot = fileName.rfind('.');
        return (dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot)) + ".pdf";
    }
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    return fallbackStem + " " + date + ".pdf";
}

}  // namespace losfix
