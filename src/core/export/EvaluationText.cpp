#include "core/export/EvaluationText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "core/app/Program.h"
#include "core/common/TextFile.h"

namespace losfix {

namespace {

// Below this a probability also gets its "1 zu n".
constexpr double kOneInBelow = 0.1;
constexpr int kTipMatches = 13;
constexpr int kTipLowestWin = 10;

std::string WithDecimalComma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// Thousands dots into the integer part of a text with a decimal comma.
std::string GroupIntegerPart(const std::string& text) {
    const std::size_t start = !text.empty() && text.front() == '-' ? 1 : 0;
    const std::size_t comma = std::min(text.find(','), text.size());
    std::string result = text.substr(0, start);
    for (std::size_t i = start; i < comma; ++i) {
        result += text[i];
        const std::size_t left = comma - i - 1;
        if (left > 0 && left % 3 == 0) {
            result += '.';
        }
    }
    return result + text.substr(comma);
}

std::string Fixed(double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string Probability(double p) {
    if (p <= 0) {
        return "0 %";
    }
    std::string text = FormatPercent(p);
    if (p < kOneInBelow) {
        text += " (" + FormatOneIn(p) + ")";
    }
    return text;
}

// The bounds of an interval with as many decimals as the figure they belong to, so that
// "60,7666 %" is not followed by a bound of seventeen digits.
std::string Bound(double bound, double p, const std::string& figure) {
    // An interval computed in floating point stops a hair short of 100 %.
    if (bound > 1 - 1e-12) {
        bound = 1;
    }
    // Beside 0 % or 100 % the bound needs the digits that tell it from the figure.
    if (p <= 0 || p >= 1) {
        return FormatPercent(bound);
    }
    const std::size_t comma = figure.find(',');
    const int decimals =
        comma == std::string::npos ? 0 : static_cast<int>(figure.find(' ', comma) - comma - 1);
    return WithDecimalComma(Fixed(100 * bound, std::clamp(decimals, 0, 15))) + " %";
}

std::string ProbabilityWithInterval(double p, Interval interval) {
    const std::string figure = FormatPercent(p);
    return figure + " (" + Bound(interval.low, p, figure) + " – " +
           Bound(interval.high, p, figure) + ")";
}

std::string CountWithInterval(double mean, Interval interval) {
    return FormatCount(mean) + " (" + FormatCount(interval.low) + " – " +
           FormatCount(interval.high) + ")";
}

double Ratio(double part, double whole) {
    return whole > 0 ? part / whole : 0.0;
}

std::string PlainHeader(const std::string& caption) {
    std::string text = caption;
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string CsvCell(const std::string& cell) {
    if (cell.find_first_of(";\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string JoinCells(const std::vector<std::string>& cells, const char* separator, bool csv) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += separator;
        }
        line += csv ? CsvCell(cells[i]) : cells[i];
    }
    return line;
}

const std::vector<std::string> kShownHeader = {"Richtige", "Beste Reihe hat\ngenau so viele",
                                               "",         "Mindestens eine\nReihe mit so vielen",
                                               "",         "Reihen mit so\nvielen im Mittel"};

std::vector<std::string> ShownHeader(const char* countCaption) {
    std::vector<std::string> header = kShownHeader;
    header[2] = countCaption;
    header[4] = countCaption;
    return header;
}

std::vector<std::string> CsvHeader(const char* countCaption, bool estimated) {
    std::vector<std::string> header = {"Richtige", "Beste Reihe hat genau so viele (%)"};
    if (estimated) {
        header.insert(header.end(), {"95-%-Intervall von (%)", "bis (%)"});
    }
    header.push_back(countCaption);
    header.push_back("Mindestens eine Reihe mit so vielen (%)");
    if (estimated) {
        header.insert(header.end(), {"95-%-Intervall von (%)", "bis (%)"});
    }
    header.push_back(countCaption);
    header.push_back("Reihen mit so vielen im Mittel");
    if (estimated) {
        header.insert(header.end(), {"95-%-Intervall von", "bis"});
    }
    return header;
}

// Printed lines hold up to this many characters: 10 points on A4 or Letter upright.
constexpr std::size_t kPrintLineCharacters = 110;

std::size_t Characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The pieces of the text between separators, packed into lines of at most kPrintLineCharacters
// where they fit; a line that goes on ends with the separator's visible part.
std::vector<std::string> WrappedLines(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + separator.size();
    }
    std::string tail = separator;  // what a line that goes on ends with
    while (!tail.empty() && tail.back() == ' ') {
        tail.pop_back();
    }
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& piece : pieces) {
        if (!line.empty() &&
            Characters(line) + Characters(separator) + Characters(piece) > kPrintLineCharacters) {
            lines.push_back(line + tail);
            line.clear();
        }
        line += (line.empty() ? "" : separator) + piece;
    }
    lines.push_back(line);
    return lines;
}

PrintTable TextTable(const std::string& caption, const std::vector<std::string>& lines) {
    PrintTable table;
    table.caption = caption;
    for (const std::string& line : lines) {
        table.rows.push_back({{line, PrintMark::None}});
    }
    return table;
}

// The odds as the window shows them, each parenthesis on a line below its figure.
PrintTable OddsPrintTable(const ReportTable& shown) {
    PrintTable table;
    table.header = shown.header;
    table.align.assign(shown.header.size(), PrintAlign::Right);
    if (!table.align.empty()) {
        table.align[0] = PrintAlign::Center;
    }
    for (const auto& cells : shown.rows) {
        std::vector<PrintCell> figures;
        std::vector<PrintCell> below;
        bool anyBelow = false;
        for (const std::string& cell : cells) {
            const std::size_t open = cell.find(" (");
            figures.push_back({cell.substr(0, open), PrintMark::None});
            below.push_back(
                {open == std::string::npos ? "" : cell.substr(open + 1), PrintMark::None});
            anyBelow = anyBelow || open != std::string::npos;
        }
        table.rows.push_back(std::move(figures));
        if (anyBelow) {
            table.rows.push_back(std::move(below));
        }
    }
    return table;
}

std::string SpacedNumbers(const NumberSet& set) {
    std::string text;
    set.forEach([&text](int n) { text += (text.empty() ? "" : " ") + std::to_string(n); });
    return text;
}

PrintTable HitPrintTable(const char* caption, std::vector<std::string> header,
                         std::vector<PrintAlign> align, std::size_t rowCount, std::size_t columns,
                         const std::function<std::string(std::size_t, int)>& cell) {
    PrintTable table;
    table.caption = caption;
    table.flow = true;
    table.labelColumn = true;
    header.resize(columns);
    align.resize(columns);
    table.header = std::move(header);
    table.align = std::move(align);
    table.rows.reserve(rowCount);
    for (std::size_t r = 0; r < rowCount; ++r) {
        std::vector<PrintCell>& cells = table.rows.emplace_back();
        cells.reserve(columns);
        for (std::size_t c = 0; c < columns; ++c) {
            cells.push_back({cell(r, static_cast<int>(c)), PrintMark::None});
        }
    }
    return table;
}

}  // namespace

std::string GroupThousands(std::uint64_t value) {
    return GroupIntegerPart(std::to_string(value));
}

std::string FormatCount(double value) {
    if (!std::isfinite(value)) {
        return "–";
    }
    if (value == 0) {
        return "0";
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(4 - magnitude, 1, 10);
    return GroupIntegerPart(WithDecimalComma(Fixed(value, decimals)));
}

std::string CsvNumber(double value) {
    if (!std::isfinite(value)) {
        return "";
    }
    if (value == 0) {
        return "0";
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::string text = Fixed(value, std::clamp(11 - magnitude, 0, 30));
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return WithDecimalComma(text);
}

OddsSection LottoOddsSection(const LottoOdds& odds, int rowSize, int poolSize, int drawSize,
                             int lowestClass, bool plannedExact) {
    OddsSection section;
    section.title = "Gewinnchancen";
    const std::uint64_t all = Binomial(poolSize, drawSize);
    const std::string game = std::to_string(drawSize) + " aus " + std::to_string(poolSize);
    if (odds.stopped && plannedExact) {
        section.basis = "Berechnung gestoppt nach " + GroupThousands(odds.draws) + " von " +
                        GroupThousands(all) +
                        " Ziehungen: ohne alle Ziehungen gibt es keine genauen Werte.";
        return section;
    }
    if (odds.draws == 0) {
        section.basis = odds.stopped ? "Gestoppt, bevor eine Ziehung berechnet war."
                                     : "Keine Ziehung berechnet.";
        return section;
    }
    section.estimated = !odds.exact;
    if (odds.exact) {
        section.basis = "Exakt über alle " + GroupThousands(odds.draws) + " möglichen Ziehungen (" +
                        game + ").";
    } else {
        section.basis = std::string(odds.stopped ? "Gestoppt: geschätzt" : "Geschätzt") + " aus " +
                        GroupThousands(odds.draws) + " zufälligen Ziehungen von " +
                        GroupThousands(all) + " möglichen (" + game +
                        "); in Klammern die 95-%-Intervalle.";
    }

    const double n = static_cast<double>(odds.draws);
    section.shown.header = ShownHeader("Ziehungen");
    section.csv.header = CsvHeader("Ziehungen", section.estimated);
    const int highest = static_cast<int>(odds.bestRow.size()) - 1;
    // Fewer hits than the pool leaves room for cannot occur.
    const int lowest = std::clamp(LowestPossibleHits(rowSize, drawSize, poolSize), 0, highest);
    for (int h = highest; h >= lowest; --h) {
        const auto index = static_cast<std::size_t>(h);
        const std::uint64_t best = odds.bestRow[index];
        const std::uint64_t any = odds.anyRow[index];
        const double rows = static_cast<double>(odds.rowsTotal[index]);
        const double pBest = Ratio(static_cast<double>(best), n);
        const double pAny = Ratio(static_cast<double>(any), n);
        const double mean = Ratio(rows, n);
        std::vector<std::string> shown = {std::to_string(h)};
        std::vector<std::string> csv = {std::to_string(h), CsvNumber(100 * pBest)};
        if (section.estimated) {
            const Interval iBest = ProportionInterval(best, odds.draws);
            const Interval iAny = ProportionInterval(any, odds.draws);
            Interval iMean = MeanInterval(odds.draws, rows, odds.rowsSquares[index]);
            // A count of rows is never negative, whatever the normal approximation says.
            iMean.low = std::max(0.0, iMean.low);
            shown.push_back(ProbabilityWithInterval(pBest, iBest));
            shown.push_back(GroupThousands(best));
            shown.push_back(ProbabilityWithInterval(pAny, iAny));
            shown.push_back(GroupThousands(any));
            shown.push_back(CountWithInterval(mean, iMean));
            csv.insert(csv.end(),
                       {CsvNumber(100 * iBest.low), CsvNumber(100 * iBest.high),
                        std::to_string(best), CsvNumber(100 * pAny), CsvNumber(100 * iAny.low),
                        CsvNumber(100 * iAny.high), std::to_string(any), CsvNumber(mean),
                        CsvNumber(iMean.low), CsvNumber(iMean.high)});
        } else {
            shown.insert(shown.end(), {Probability(pBest), GroupThousands(best), Probability(pAny),
                                       GroupThousands(any), FormatCount(mean)});
            csv.insert(csv.end(), {std::to_string(best), CsvNumber(100 * pAny), std::to_string(any),
                                   CsvNumber(mean)});
        }
        section.shown.rows.push_back(std::move(shown));
        section.csv.rows.push_back(std::move(csv));
    }

    if (lowestClass >= 1 && lowestClass <= highest) {
        std::uint64_t none = 0;
        for (int h = 0; h < lowestClass; ++h) {
            none += odds.bestRow[static_cast<std::size_t>(h)];
        }
        const double p = Ratio(static_cast<double>(none), n);
        section.footer = "Kein Gewinn (weniger als " + std::to_string(lowestClass) + " Richtige): ";
        if (section.estimated) {
            section.footer += ProbabilityWithInterval(p, ProportionInterval(none, odds.draws)) +
                              ", in " + GroupThousands(none) + " von " +
                              GroupThousands(odds.draws) + " Ziehungen der Stichprobe";
        } else {
            section.footer += Probability(p) + ", in " + GroupThousands(none) + " von " +
                              GroupThousands(odds.draws) + " Ziehungen";
        }
    }
    return section;
}

OddsSection TipOddsSection(const TipOdds& odds, bool weighted) {
    OddsSection section;
    section.title =
        weighted ? "Nach Ihren Tipp-Status gewichtet" : "Alle Ergebnisse gleich wahrscheinlich";
    if (odds.stopped) {
        section.basis = "Berechnung gestoppt: ohne alle Ergebnisse gibt es keine genauen Werte.";
        return section;
    }
    if (odds.total == 0) {
        section.basis = "Kein Ergebnis ist nach den Tipp-Status möglich.";
        return section;
    }
    if (weighted) {
        section.basis = "Exakt über alle " + GroupThousands(kTipResultCount) +
                        " möglichen Ergebnisse, jedes gewichtet mit den Tipp-Status seiner Spiele "
                        "(Fav I : Fav II : Fav III = 1 : 2 : 3, out zählt nicht; ein Spiel ohne "
                        "Tipp zählt jedes Ergebnis gleich); Gesamtgewicht " +
                        GroupThousands(odds.total) + ".";
    } else {
        section.basis = "Exakt über alle " + GroupThousands(odds.total) +
                        " möglichen Ergebnisse, jedes gleich wahrscheinlich.";
    }
    const char* countCaption = weighted ? "Gewicht" : "Ergebnisse";
    section.shown.header = ShownHeader(countCaption);
    section.csv.header = CsvHeader(countCaption, false);
    const double total = static_cast<double>(odds.total);
    for (int c = kTipMatches; c >= 0; --c) {
        const auto index = static_cast<std::size_t>(c);
        const double pBest = Ratio(static_cast<double>(odds.bestRow[index]), total);
        const double pAny = Ratio(static_cast<double>(odds.anyRow[index]), total);
        const double mean = Ratio(static_cast<double>(odds.rowsTotal[index]), total);
        section.shown.rows.push_back({std::to_string(c), Probability(pBest),
                                      GroupThousands(odds.bestRow[index]), Probability(pAny),
                                      GroupThousands(odds.anyRow[index]), FormatCount(mean)});
        section.csv.rows.push_back({std::to_string(c), CsvNumber(100 * pBest),
                                    std::to_string(odds.bestRow[index]), CsvNumber(100 * pAny),
                                    std::to_string(odds.anyRow[index]), CsvNumber(mean)});
    }
    std::uint64_t none = 0;
    for (int c = 0; c < kTipLowestWin; ++c) {
        none += odds.bestRow[static_cast<std::size_t>(c)];
    }
    section.footer = "Kein Gewinn (weniger als " + std::to_string(kTipLowestWin) +
                     " Richtige): " + Probability(Ratio(static_cast<double>(none), total));
    return section;
}

std::string EvaluationClipboardText(const EvaluationReport& report) {
    std::vector<std::string> lines = {report.title};
    for (const auto& [name, value] : report.facts) {
        lines.push_back(name + ": " + value);
    }
    if (!report.summary.empty()) {
        lines.push_back(report.summary);
    }
    for (const OddsSection& section : report.sections) {
        lines.emplace_back();
        lines.push_back(section.title);
        lines.push_back(section.basis);
        if (!section.shown.rows.empty()) {
            std::vector<std::string> header;
            for (const std::string& caption : section.shown.header) {
                header.push_back(PlainHeader(caption));
            }
            lines.push_back(JoinCells(header, "\t", false));
            for (const auto& row : section.shown.rows) {
                lines.push_back(JoinCells(row, "\t", false));
            }
        }
        if (!section.footer.empty()) {
            lines.push_back(section.footer);
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string EvaluationCsv(const EvaluationReport& report) {
    std::vector<std::string> lines = {CsvCell(report.title)};
    for (const auto& [name, value] : report.facts) {
        lines.push_back(CsvCell(name) + ";" + CsvCell(value));
    }
    if (!report.summary.empty()) {
        lines.push_back("Treffer;" + CsvCell(report.summary));
    }
    for (const OddsSection& section : report.sections) {
        lines.emplace_back();
        lines.push_back(CsvCell(section.title));
        lines.push_back(CsvCell(section.basis));
        if (!section.csv.rows.empty()) {
            lines.push_back(JoinCells(section.csv.header, ";", true));
            for (const auto& row : section.csv.rows) {
                lines.push_back(JoinCells(row, ";", true));
            }
        }
        if (!section.footer.empty()) {
            lines.push_back(CsvCell(section.footer));
        }
    }
    return WriteTextLines(lines);
}

std::vector<std::string> LottoHitHeader() {
    return {"Reihe", "Zahlen", "Richtige", "Getroffen", "Zusatzzahl"};
}

std::string LottoHitCell(const LottoRows& rows, const LottoHits& hits, const NumberSet& drawn,
                         int additional, std::size_t row, int column) {
    switch (column) {
        case 0:
            return std::to_string(rows.tableRow[row]);
        case 1:
            return SpacedNumbers(rows.rows[row]);
        case 2:
            return std::to_string(hits.hits[row]);
        case 3:
            return SpacedNumbers(rows.rows[row].intersection(drawn));
        case 4:
            return additional > 0 && hits.additional[row] ? "ja" : "";
        default:
            return "";
    }
}

std::vector<std::string> TipHitHeader() {
    return {"Reihe", "Tipp", "Falsch getippt in Spiel", "Richtige"};
}

std::string TipHitCell(const std::vector<TipRow>& rows, const TipHits& hits, const TipRow& results,
                       std::size_t row, int column) {
    switch (column) {
        case 0:
            return std::to_string(row + 1);
        case 1: {
            std::string tip;
            for (const std::uint8_t outcome : rows[row]) {
                tip += (tip.empty() ? "" : ",") + std::to_string(outcome);
            }
            return tip;
        }
        case 2: {
            std::string wrong;
            for (std::size_t m = 0; m < results.size(); ++m) {
                if (rows[row][m] != results[m]) {
                    wrong += (wrong.empty() ? "" : ", ") + std::to_string(m + 1);
                }
            }
            return wrong;
        }
        case 3:
            return std::to_string(hits.correct[row]);
        default:
            return "";
    }
}

PrintTable LottoHitPrintTable(const LottoRows& rows, const LottoHits& hits, const LottoDraw& draw) {
    NumberSet drawn;
    for (const int n : draw.numbers) {
        drawn.add(n);
    }
    return HitPrintTable("Treffer der Reihen", LottoHitHeader(),
                         {PrintAlign::Right, PrintAlign::Left, PrintAlign::Center, PrintAlign::Left,
                          PrintAlign::Center},
                         rows.rows.size(), draw.additional > 0 ? 5 : 4,
                         [&](std::size_t row, int column) {
                             return LottoHitCell(rows, hits, drawn, draw.additional, row, column);
                         });
}

PrintTable TipHitPrintTable(const std::vector<TipRow>& rows, const TipHits& hits,
                            const TipRow& results) {
    return HitPrintTable(
        "Richtige der Tippreihen", TipHitHeader(),
        {PrintAlign::Right, PrintAlign::Left, PrintAlign::Left, PrintAlign::Center}, rows.size(), 4,
        [&](std::size_t row, int column) { return TipHitCell(rows, hits, results, row, column); });
}

PrintSummary EvaluationPrintSummary(const EvaluationReport& report, PrintTable hits) {
    PrintSummary summary;
    // The program's name heads every page already.
    const std::string program = std::string(kProgramName) + " – ";
    summary.title =
        report.title.rfind(program, 0) == 0 ? report.title.substr(program.size()) : report.title;
    std::string others;
    for (std::size_t i = 0; i < report.facts.size(); ++i) {
        const auto& [name, value] = report.facts[i];
        if (i == 0) {
            summary.lines.push_back(value);
        } else {
            others += (others.empty() ? "" : " · ") + name + ": " + value;
        }
    }
    if (!others.empty()) {
        summary.lines.push_back(others);
    }
    if (!report.summary.empty()) {
        summary.tables.push_back(TextTable("", WrappedLines(report.summary, " · ")));
    }
    for (const OddsSection& section : report.sections) {
        // A section stands on one page where it can: a figure beside its parenthesis.
        summary.tables.push_back(TextTable(section.title, WrappedLines(section.basis, " ")));
        summary.tables.back().keepWithNext = true;
        if (!section.shown.rows.empty()) {
            summary.tables.push_back(OddsPrintTable(section.shown));
            summary.tables.back().keepWhole = true;
            summary.tables.back().keepWithNext = !section.footer.empty();
        }
        if (!section.footer.empty()) {
            summary.tables.push_back(TextTable("", WrappedLines(section.footer, " ")));
        }
    }
    if (!hits.rows.empty()) {
        summary.tables.push_back(std::move(hits));
    }
    return summary;
}

}  // namespace losfix
