#include "core/eval/FootballEvaluation.h"

#include <algorithm>
#include <bit>
#include <string>

#include "core/common/Error.h"
#include "core/eval/EvalText.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipStatus.h"

namespace losfix {

namespace {

using eval::Quoted;
using eval::RowsText;
using eval::Trimmed;

constexpr int kMatches = 13;

// The outcome value of "1", "0" or "2"; -1 for anything else.
int OutcomeOf(std::string_view text) {
    if (text.size() == 1 && (text[0] == '0' || text[0] == '1' || text[0] == '2')) {
        return text[0] - '0';
    }
    return -1;
}

// Results are numbered r = sum over the matches m = 0..12 of outcome value * 3^m.
constexpr std::array<std::uint32_t, kMatches + 1> Powers() {
    std::array<std::uint32_t, kMatches + 1> powers{};
    powers[0] = 1;
    for (int m = 1; m <= kMatches; ++m) {
        powers[static_cast<std::size_t>(m)] = powers[static_cast<std::size_t>(m - 1)] * 3;
    }
    return powers;
}
constexpr std::array<std::uint32_t, kMatches + 1> kPower = Powers();
static_assert(kPower[kMatches] == kTipResultCount);

std::uint32_t ResultIndex(const TipRow& row) {
    std::uint32_t index = 0;
    for (int m = 0; m < kMatches; ++m) {
        index += row[static_cast<std::size_t>(m)] * kPower[static_cast<std::size_t>(m)];
    }
    return index;
}

// weight[m][v]: the weight of outcome value v in match m.
using OutcomeWeights = std::array<std::array<std::uint64_t, 3>, kMatches>;

OutcomeWeights WeightsOf(const std::array<std::uint8_t, 39>* statuses) {
    OutcomeWeights weights{};
    for (int m = 0; m < kMatches; ++m) {
        std::array<std::uint64_t, 3> w{1, 1, 1};
        if (statuses != nullptr) {
            std::array<std::uint64_t, 3> chosen{};
            bool any = false;
            for (int position = 1; position <= kOutcomesPerMatch; ++position) {
                const int slot = OutcomeSlot(m + 1, position);
                const int code = (*statuses)[static_cast<std::size_t>(slot - 1)];
                const int value = OutcomeValue(slot);
                // An unknown code weighs nothing, as an outcome left out.
                const int weight = IsTipStatusCode(code) ? code : 0;
                chosen[static_cast<std::size_t>(value)] = static_cast<std::uint64_t>(weight);
                any = any || weight > 0;
            }
            if (any) {
                w = chosen;
            }
        }
        weights[static_cast<std::size_t>(m)] = w;
    }
    return weights;
}

}  // namespace

std::variant<std::vector<TipRow>, std::string> ReadTipRows(const StringGrid& table) {
    std::vector<TipRow> rows;
    int emptyRow = 0;  // the first empty row after the last filled one so far
    for (int r = 1; r < table.rowCount(); ++r) {
        TipRow row{};
        int filled = 0;
        int firstEmpty = 0;
        for (int m = 1; m <= kMatches; ++m) {
            const std::string_view text = Trimmed(table.cellView(m, r));
            if (text.empty()) {
                if (firstEmpty == 0) {
                    firstEmpty = m;
                }
                continue;
            }
            const int value = OutcomeOf(text);
            if (value < 0) {
                return "Reihe " + std::to_string(r) + ", Spiel " + std::to_string(m) + ": " +
                       Quoted(text) + " ist kein Tipp. Erlaubt sind 1, 0 und 2.";
            }
            row[static_cast<std::size_t>(m - 1)] = static_cast<std::uint8_t>(value);
            ++filled;
        }
        if (filled == 0) {
            if (emptyRow == 0) {
                emptyRow = r;
            }
            continue;
        }
        if (filled < kMatches) {
            return "Reihe " + std::to_string(r) + ", Spiel " + std::to_string(firstEmpty) +
                   ": kein Tipp eingetragen.";
        }
        if (emptyRow != 0) {
            return "Reihe " + std::to_string(emptyRow) +
                   " ist leer, nach ihr folgen aber weitere "
                   "Reihen.";
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        return std::string("Die Tabelle enthält keine Tippreihe, die ausgewertet werden kann.");
    }
    return rows;
}

std::variant<TipRow, std::string> ParseTipResults(std::string_view text) {
    text = Trimmed(text);
    std::vector<std::string_view> pieces;
    const bool delimited = text.find_first_of(",;") != std::string_view::npos;
    const bool blanks = text.find_first_of(" \t") != std::string_view::npos;
    if (delimited) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == ',' || text[i] == ';') {
                pieces.push_back(Trimmed(text.substr(start, i - start)));
                start = i + 1;
            }
        }
        // A separator after the last result is no result of its own.
        while (!pieces.empty() && pieces.back().empty()) {
            pieces.pop_back();
        }
    } else if (blanks) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || eval::IsBlank(text[i])) {
                if (i > start) {
                    pieces.push_back(text.substr(start, i - start));
                }
                start = i + 1;
            }
        }
    } else {
        // One character a match; the bytes of a multi-byte UTF-8 character stay together.
        for (std::size_t i = 0; i < text.size();) {
            std::size_t length = 1;
            while (length < 4 && i + length < text.size() &&
                   (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
                ++length;
            }
            pieces.push_back(text.substr(i, length));
            i += length;
        }
    }
    if (pieces.size() > static_cast<std::size_t>(kMatches)) {
        return "Es sind " + std::to_string(pieces.size()) +
               " Ergebnisse angegeben, ein Tipp hat aber 13 Spiele.";
    }
    TipRow results{};
    for (int m = 1; m <= kMatches; ++m) {
        if (static_cast<std::size_t>(m) > pieces.size() ||
            pieces[static_cast<std::size_t>(m - 1)].empty()) {
            return "Für Spiel " + std::to_string(m) + " ist kein Ergebnis angegeben.";
        }
        const std::string_view piece = pieces[static_cast<std::size_t>(m - 1)];
        const int value = OutcomeOf(piece);
        if (value < 0) {
            return "Spiel " + std::to_string(m) + ": " + Quoted(piece) +
                   " ist kein Ergebnis. Erlaubt sind 1, 0 und 2.";
        }
        results[static_cast<std::size_t>(m - 1)] = static_cast<std::uint8_t>(value);
    }
    return results;
}

TipHits CountTipHits(const std::vector<TipRow>& rows, const TipRow& results) {
    TipHits hits;
    hits.correct.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        int correct = 0;
        for (int m = 0; m < kMatches; ++m) {
            correct += rows[i][static_cast<std::size_t>(m)] == results[static_cast<std::size_t>(m)];
        }
        hits.correct[i] = static_cast<std::uint8_t>(correct);
        ++hits.rowsWithCorrect[static_cast<std::size_t>(correct)];
    }
    return hits;
}

std::string TipHitSummary(const TipHits& hits) {
    std::string text;
    for (int c = kMatches; c >= 10; --c) {
        if (!text.empty()) {
            text += " · ";
        }
        text += std::to_string(c) +
                " Richtige: " + RowsText(hits.rowsWithCorrect[static_cast<std::size_t>(c)]);
    }
    return text;
}

namespace {

// The steps of the progress, each over every result: marking the rows, one pass per match, and
// the tally of each view.
constexpr std::uint64_t kNearSteps = kMatches + 1;

// The rows a result has at each distance: bit t of near[r] is set when some row differs from r
// in exactly t matches. Built one match at a time: after match m, a row counts for r when it
// agrees with r in the later matches and differs in t of the matches up to m. Empty when stopped.
std::vector<std::uint16_t> NearBits(const std::vector<TipRow>& rows, EvalControl& control) {
    std::vector<std::uint16_t> near(kTipResultCount, 0);
    for (const TipRow& row : rows) {
        near[ResultIndex(row)] = 1;
    }
    if (!control.addDone(kTipResultCount)) {
        return {};
    }
    for (int m = 0; m < kMatches; ++m) {
        const std::uint32_t stride = kPower[static_cast<std::size_t>(m)];
        for (std::uint32_t block = 0; block < kTipResultCount; block += 3 * stride) {
            std::uint16_t* a = near.data() + block;
            std::uint16_t* b = a + stride;
            std::uint16_t* c = b + stride;
            for (std::uint32_t i = 0; i < stride; ++i) {
                const std::uint16_t x = a[i];
                const std::uint16_t y = b[i];
                const std::uint16_t z = c[i];
                a[i] = static_cast<std::uint16_t>(x | ((y | z) << 1));
                b[i] = static_cast<std::uint16_t>(y | ((x | z) << 1));
                c[i] = static_cast<std::uint16_t>(z | ((x | y) << 1));
            }
        }
        if (!control.addDone(kTipResultCount)) {
            return {};
        }
    }
    return near;
}

TipOdds StoppedTipOdds() {
    TipOdds odds;
    odds.stopped = true;
    return odds;
}

// One view from the distances: the results by their weight, the rows by their sums.
TipOdds TallyTipOdds(const std::vector<TipRow>& rows, const std::vector<std::uint16_t>& near,
                     const std::array<std::uint8_t, 39>* statuses, EvalControl& control) {
    TipOdds odds;
    const OutcomeWeights weights = WeightsOf(statuses);
    // The weight of a result is a product over the matches; split into the first seven and the
    // last six matches.
    constexpr std::uint32_t kLow = 2187;  // 3^7
    std::vector<std::uint64_t> low(kLow);
    std::vector<std::uint64_t> high(kTipResultCount / kLow);
    const auto product = [&](std::uint32_t index, int first, int count) {
        std::uint64_t w = 1;
        for (int m = first; m < first + count; ++m) {
            w *= weights[static_cast<std::size_t>(m)][index % 3];
            index /= 3;
        }
        return w;
    };
    for (std::uint32_t i = 0; i < low.size(); ++i) {
        low[i] = product(i, 0, 7);
    }
    for (std::uint32_t i = 0; i < high.size(); ++i) {
        high[i] = product(i, 7, 6);
    }
    std::array<std::uint64_t, kMatches + 1> any{};
    for (std::uint32_t h = 0; h < high.size(); ++h) {
        if (control.stopped()) {
            return StoppedTipOdds();
        }
        for (std::uint32_t l = 0; l < kLow; ++l) {
            const std::uint64_t w = high[h] * low[l];
            const unsigned bits = near[h * kLow + l];
            odds.total += w;
            if (bits == 0) {
                continue;
            }
            odds.bestRow[static_cast<std::size_t>(kMatches - std::countr_zero(bits))] += w;
            for (unsigned rest = bits; rest != 0; rest &= rest - 1) {
                any[static_cast<std::size_t>(kMatches - std::countr_zero(rest))] += w;
            }
        }
    }
    odds.anyRow = any;

    // Rows with c correct, summed over the results by weight: for one row, the coefficient of
    // x^t in the product over the matches of (weight of its tip + x * weight of the other two).
    std::array<std::uint64_t, kMatches + 1> sums{};
    std::size_t sinceFlush = 0;
    for (const TipRow& row : rows) {
        std::array<std::uint64_t, kMatches + 1> poly{};
        poly[0] = 1;
        for (int m = 0; m < kMatches; ++m) {
            const auto& w = weights[static_cast<std::size_t>(m)];
            const std::uint64_t right = w[row[static_cast<std::size_t>(m)]];
            const std::uint64_t wrong = w[0] + w[1] + w[2] - right;
            for (int t = m + 1; t >= 1; --t) {
                poly[static_cast<std::size_t>(t)] = poly[static_cast<std::size_t>(t)] * right +
                                                    poly[static_cast<std::size_t>(t - 1)] * wrong;
            }
            poly[0] *= right;
        }
        for (int t = 0; t <= kMatches; ++t) {
            sums[static_cast<std::size_t>(kMatches - t)] += poly[static_cast<std::size_t>(t)];
        }
        // A row adds at most 9^13 < 2^42, so a million rows stay below 2^64.
        if (++sinceFlush == 1'000'000) {
            for (int c = 0; c <= kMatches; ++c) {
                odds.rowsTotal[static_cast<std::size_t>(c)] +=
                    static_cast<long double>(sums[static_cast<std::size_t>(c)]);
            }
            sums = {};
            sinceFlush = 0;
        }
    }
    for (int c = 0; c <= kMatches; ++c) {
        odds.rowsTotal[static_cast<std::size_t>(c)] +=
            static_cast<long double>(sums[static_cast<std::size_t>(c)]);
    }
    control.addDone(kTipResultCount);
    return odds;
}

}  // namespace

TipOdds ComputeTipOdds(const std::vector<TipRow>& rows,
                       const std::array<std::uint8_t, 39>* statuses, EvalControl& control) {
    control.total.store((kNearSteps + 1) * kTipResultCount, std::memory_order_relaxed);
    const std::vector<std::uint16_t> near = NearBits(rows, control);
    if (near.empty()) {
        return StoppedTipOdds();
    }
    return TallyTipOdds(rows, near, statuses, control);
}

TipOddsViews ComputeTipOddsViews(const std::vector<TipRow>& rows,
                                 const std::array<std::uint8_t, 39>& statuses,
                                 EvalControl& control) {
    control.total.store((kNearSteps + 2) * kTipResultCount, std::memory_order_relaxed);
    TipOddsViews views;
    const std::vector<std::uint16_t> near = NearBits(rows, control);
    if (near.empty()) {
        views.uniform.stopped = true;
        views.weighted.stopped = true;
        return views;
    }
    views.uniform = TallyTipOdds(rows, near, nullptr, control);
    views.weighted =
        views.uniform.stopped ? StoppedTipOdds() : TallyTipOdds(rows, near, &statuses, control);
    return views;
}

}  // namespace losfix
