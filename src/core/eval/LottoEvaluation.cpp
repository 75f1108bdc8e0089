#include "core/eval/LottoEvaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>
#include <string>

#include "core/common/Error.h"
#include "core/eval/EvalText.h"
#include "core/eval/LottoOddsEngine.h"
#include "core/football/MatchBoard.h"

namespace losfix {

namespace {

using eval::Quoted;
using eval::RowsText;
using eval::Trimmed;

constexpr int kMaxPoolSize = 90;
constexpr int kMaxRowSize = 16;  // number columns of the row table

// A plain decimal number without sign; numbers too long for an int come back as INT_MAX, which
// lies outside every pool.
bool ReadDecimal(std::string_view text, int& value) {
    if (text.empty()) {
        return false;
    }
    long long result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = std::min<long long>(result * 10 + (c - '0'), std::numeric_limits<int>::max());
    }
    value = static_cast<int>(result);
    return true;
}

std::vector<std::string_view> Entries(std::string_view text) {
    std::vector<std::string_view> entries;
    std::size_t start = 0;
    const auto separator = [](char c) {
        return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r' || c == '\n';
    };
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || separator(text[i])) {
            if (i > start) {
                entries.push_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return entries;
}

std::string PoolRange(int poolSize) {
    return "von 1 bis " + std::to_string(poolSize);
}

}  // namespace

std::variant<LottoRows, std::string> ReadLottoRows(const StringGrid& table, int poolSize) {
    if (poolSize < 1 || poolSize > kMaxPoolSize) {
        return "Die Zahlenmenge muss 1 bis 90 Zahlen haben, eingestellt sind " +
               std::to_string(poolSize) + ".";
    }
    LottoRows result;
    result.poolSize = poolSize;
    int firstRow = 0;
    const int columns = std::min(table.columnCount() - 1, kMaxRowSize);
    for (int r = 1; r < table.rowCount(); ++r) {
        NumberSet row;
        int size = 0;
        for (int c = 1; c <= columns; ++c) {
            const std::string_view text = Trimmed(table.cellView(c, r));
            if (text.empty()) {
                continue;
            }
            int n = 0;
            if (!ReadDecimal(text, n) || n < 1 || n > poolSize) {
                return "Reihe " + std::to_string(r) + " enthält " + Quoted(text) + ", keine Zahl " +
                       PoolRange(poolSize) + ".";
            }
            if (row.contains(n)) {
                return "Reihe " + std::to_string(r) + " enthält die Zahl " + std::to_string(n) +
                       " zweimal.";
            }
            row.add(n);
            ++size;
        }
        if (size == 0) {
            continue;
        }
        if (result.rows.empty()) {
            result.rowSize = size;
            firstRow = r;
        } else if (size != result.rowSize) {
            return "Reihe " + std::to_string(r) + " hat " + std::to_string(size) +
                   (size == 1 ? " Zahl" : " Zahlen") + ", Reihe " + std::to_string(firstRow) +
                   " hat " + std::to_string(result.rowSize) +
                   ". Ausgewertet werden nur Reihen mit gleich vielen Zahlen.";
        }
        result.rows.push_back(row);
        result.tableRow.push_back(r);
    }
    if (result.rows.empty()) {
        return std::string("Die Tabelle enthält keine Reihe, die ausgewertet werden kann.");
    }
    return result;
}

int DefaultDrawSize(int rowSize, int poolSize) {
    int size = 6;
    if (rowSize >= 1 && rowSize < size) {
        size = rowSize;
    }
    return std::max(1, std::min(size, poolSize));
}

std::string DrawSizeProblem(int drawSize, int poolSize) {
    if (drawSize < 1 || drawSize > kMaxDrawSize) {
        return "Gezogen werden können 1 bis " + std::to_string(kMaxDrawSize) +
               " Zahlen, eingestellt sind " + std::to_string(drawSize) + ".";
    }
    if (drawSize > poolSize) {
        return "Aus einer Zahlenmenge von " + std::to_string(poolSize) + " Zahlen können nicht " +
               std::to_string(drawSize) + " Zahlen gezogen werden.";
    }
    return {};
}

std::variant<LottoDraw, std::string> ParseLottoDraw(std::string_view numbers,
                                                    std::string_view additional, int poolSize,
                                                    int drawSize) {
    if (std::string problem = DrawSizeProblem(drawSize, poolSize); !problem.empty()) {
        return problem;
    }
    LottoDraw draw;
    NumberSet seen;
    for (const std::string_view entry : Entries(numbers)) {
        int n = 0;
        if (!ReadDecimal(entry, n)) {
            return Quoted(entry) +
                   " ist keine Zahl. Trennen Sie die gezogenen Zahlen durch Leerzeichen, Kommas "
                   "oder Semikolons.";
        }
        if (n < 1 || n > poolSize) {
            return "Die Zahl " + messages::Excerpt(entry) + " liegt nicht in der Zahlenmenge " +
                   PoolRange(poolSize) + ".";
        }
        if (seen.contains(n)) {
            return "Die Zahl " + std::to_string(n) + " ist zweimal angegeben.";
        }
        seen.add(n);
        draw.numbers.push_back(n);
    }
    const int count = static_cast<int>(draw.numbers.size());
    if (count == 0) {
        return drawSize == 1
                   ? std::string("Geben Sie die gezogene Zahl ein.")
                   : "Geben Sie die " + std::to_string(drawSize) + " gezogenen Zahlen ein.";
    }
    if (count != drawSize) {
        return (count == 1 ? std::string("Es ist 1 Zahl angegeben")
                           : "Es sind " + std::to_string(count) + " Zahlen angegeben") +
               ", gezogen " +
               (drawSize == 1 ? "wird 1 Zahl." : "werden " + std::to_string(drawSize) + " Zahlen.");
    }
    std::sort(draw.numbers.begin(), draw.numbers.end());

    const std::vector<std::string_view> extra = Entries(additional);
    if (extra.size() > 1) {
        return std::string("Geben Sie nur eine Zusatzzahl ein.");
    }
    if (extra.size() == 1) {
        int n = 0;
        if (!ReadDecimal(extra[0], n)) {
            return "Die Zusatzzahl " + Quoted(extra[0]) + " ist keine Zahl.";
        }
        if (n < 1 || n > poolSize) {
            return "Die Zusatzzahl " + messages::Excerpt(extra[0]) +
                   " liegt nicht in der Zahlenmenge " + PoolRange(poolSize) + ".";
        }
        if (seen.contains(n)) {
            return "Die Zusatzzahl " + std::to_string(n) + " ist schon unter den gezogenen Zahlen.";
        }
        draw.additional = n;
    }
    return draw;
}

LottoHits CountLottoHits(const LottoRows& rows, const LottoDraw& draw) {
    NumberSet drawn;
    for (const int n : draw.numbers) {
        drawn.add(n);
    }
    LottoHits result;
    result.hits.resize(rows.rows.size());
    result.additional.resize(rows.rows.size());
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        const int h = rows.rows[i].sharedCount(drawn);
        result.hits[i] = static_cast<std::uint8_t>(h);
        ++result.rowsWithHits[static_cast<std::size_t>(std::min(h, 16))];
    }
    if (draw.additional != 0) {
        for (std::size_t i = 0; i < rows.rows.size(); ++i) {
            result.additional[i] = rows.rows[i].contains(draw.additional);
        }
    }
    return result;
}

int LowestPossibleHits(int rowSize, int drawSize, int poolSize) {
    return std::max(0, rowSize + drawSize - poolSize);
}

int HighestPossibleHits(int rowSize, int drawSize) {
    return std::max(0, std::min(rowSize, drawSize));
}

std::string LottoHitSummary(const LottoHits& hits, int rowSize, int drawSize, int poolSize,
                            int lowestClass) {
    const int top = std::min(HighestPossibleHits(rowSize, drawSize), 16);
    const int bottom = std::max({std::min(std::max(lowestClass, 1), top),
                                 LowestPossibleHits(rowSize, drawSize, poolSize), 0});
    std::string text;
    for (int h = top; h >= bottom; --h) {
        if (!text.empty()) {
            text += " · ";
        }
        text += std::to_string(h) +
                " Richtige: " + RowsText(hits.rowsWithHits[static_cast<std::size_t>(h)]);
    }
    return text;
}

bool EvalControl::addDone(std::uint64_t steps) {
    done.fetch_add(steps, std::memory_order_relaxed);
    if (afterStep) {
        afterStep();
    }
    return !stopped();
}

bool EvalControl::addPrepared(std::uint64_t units) {
    prepared.fetch_add(units, std::memory_order_relaxed);
    if (afterStep) {
        afterStep();
    }
    return !stopped();
}

int ProgressPermille(const EvalControl& control) {
    const auto share = [](std::uint64_t part, std::uint64_t whole) {
        return whole == 0 ? 0.0
                          : std::min(1.0, static_cast<double>(part) / static_cast<double>(whole));
    };
    const std::uint64_t preparing = control.preparing.load(std::memory_order_relaxed);
    const double tables =
        preparing == 0
            ? 0.0
            : std::clamp(control.prepareShare.load(std::memory_order_relaxed), 0, 1000) / 1000.0;
    const double progress =
        tables * share(control.prepared.load(std::memory_order_relaxed), preparing) +
        (1.0 - tables) * share(control.done.load(std::memory_order_relaxed),
                               control.total.load(std::memory_order_relaxed));
    return static_cast<int>(progress * 1000.0);
}

std::uint64_t Binomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) {
        return 0;
    }
    k = std::min(k, n - k);
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t result = 1;
    for (int i = 1; i <= k; ++i) {
        // result * (n - k + i) / i stays whole at every step; divide first where it may overflow.
        const auto factor = static_cast<std::uint64_t>(n - k + i);
        const std::uint64_t g = std::gcd(result, static_cast<std::uint64_t>(i));
        const std::uint64_t a = result / g;
        const std::uint64_t b = factor / (static_cast<std::uint64_t>(i) / g);
        if (a != 0 && b > kMax / a) {
            return kMax;
        }
        result = a * b;
    }
    return result;
}

bool LottoOddsExactFeasible(const LottoRows& rows, int drawSize) {
    return eval::PlanLottoOdds(rows, drawSize).exactFeasible;
}

LottoOdds ComputeLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                           std::uint64_t seed, std::uint64_t sampleDraws, bool forceExact) {
    if (rows.rows.empty() || rows.rowSize < 1 ||
        !DrawSizeProblem(drawSize, rows.poolSize).empty()) {
        // Nothing to count: no figures rather than figures from garbage.
        LottoOdds none;
        none.exact = false;
        return none;
    }
    const eval::LottoOddsPlan plan = eval::PlanLottoOdds(rows, drawSize);
    // Forcing is for draws that can be counted at all, not for C(90, 20).
    const bool countable = Binomial(rows.poolSize, drawSize) < (std::uint64_t{1} << 62);
    if (plan.exactFeasible || (forceExact && countable)) {
        return eval::EnumerateLottoOdds(rows, drawSize, control, plan, seed);
    }
    return eval::SampleLottoOdds(rows, drawSize, control, plan, seed, sampleDraws);
}

namespace {
constexpr double kZ95 = 1.959963984540054;
}  // namespace

Interval ProportionInterval(std::uint64_t k, std::uint64_t n) {
    if (n == 0) {
        return {0.0, 1.0};
    }
    const double nn = static_cast<double>(n);
    const double p = static_cast<double>(std::min(k, n)) / nn;
    const double z2 = kZ95 * kZ95;
    const double denominator = 1.0 + z2 / nn;
    const double centre = (p + z2 / (2.0 * nn)) / denominator;
    const double half = kZ95 * std::sqrt(p * (1.0 - p) / nn + z2 / (4.0 * nn * nn)) / denominator;
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

Interval MeanInterval(std::uint64_t n, double sum, double sumOfSquares) {
    if (n == 0) {
        return {0.0, 0.0};
    }
    const double nn = static_cast<double>(n);
    const double mean = sum / nn;
    if (n == 1) {
        return {mean, mean};
    }
    const double variance = std::max(0.0, (sumOfSquares - sum * mean) / (nn - 1.0));
    const double half = kZ95 * std::sqrt(variance / nn);
    return {mean - half, mean + half};
}

namespace {

std::string WithComma(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

std::string FormatPercent(double probability) {
    if (!(probability > 0.0)) {
        return "0 %";
    }
    if (probability >= 1.0) {
        return "100 %";
    }
    const double percent = probability * 100.0;
    // Four significant digits of the value, and of its distance from 100 %, so that neither a
    // small chance nor a near-certainty is rounded to a certainty.
    const double smaller = std::min(percent, 100.0 - percent);
    int decimals = 4;
    if (smaller > 0.0 && smaller < 1.0) {
        decimals = std::max(4, 3 - static_cast<int>(std::floor(std::log10(smaller))));
    }
    decimals = std::min(decimals, 15);
    return WithComma(percent, decimals) + " %";
}

std::string FormatOneIn(double probability) {
    if (!(probability > 0.0)) {
        return "–";
    }
    const double inverse = 1.0 / probability;
    if (inverse < 99.95) {
        return "1 zu " + WithComma(inverse, 1);
    }
    const double rounded = std::round(inverse);
    if (rounded >= 1.8e19) {
        return "1 zu " + FormatThousands(std::numeric_limits<std::uint64_t>::max());
    }
    return "1 zu " + FormatThousands(static_cast<std::uint64_t>(rounded));
}

}  // namespace losfix
