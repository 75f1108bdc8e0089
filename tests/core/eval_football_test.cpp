#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/common/StringGrid.h"
#include "core/eval/FootballEvaluation.h"

namespace losfix {
namespace {

TipRow RowOf(std::string_view digits) {
    TipRow row{};
    for (std::size_t m = 0; m < 13; ++m) {
        row[m] = static_cast<std::uint8_t>(digits[m] - '0');
    }
    return row;
}

// The literal reference: every result against every row, weighted by the product of the status
// codes of its outcomes (1 each in a match without a choice).
TipOdds ReferenceOdds(const std::vector<TipRow>& rows, const std::array<std::uint8_t, 39>* codes) {
    std::array<std::array<std::uint64_t, 3>, 13> weight{};
    for (int m = 0; m < 13; ++m) {
        // Slots of a match hold the outcomes "1", "0", "2" in this order.
        const std::array<int, 3> valueOfPosition = {1, 0, 2};
        bool chosen = false;
        for (int p = 0; p < 3; ++p) {
            const std::uint64_t code = codes ? (*codes)[static_cast<std::size_t>(3 * m + p)] : 0;
            weight[static_cast<std::size_t>(m)]
                  [static_cast<std::size_t>(valueOfPosition[static_cast<std::size_t>(p)])] = code;
            chosen = chosen || code > 0;
        }
        if (!chosen) {
            weight[static_cast<std::size_t>(m)] = {1, 1, 1};
        }
    }
    TipOdds odds;
    TipRow result{};  // every result once, counted up like an odometer
    for (std::uint32_t r = 0; r < kTipResultCount; ++r) {
        std::uint64_t w = 1;
        for (std::size_t m = 0; m < 13; ++m) {
            w *= weight[m][result[m]];
        }
        odds.total += w;
        std::array<std::uint64_t, 14> counts{};
        for (const TipRow& row : rows) {
            int correct = 0;
            for (std::size_t m = 0; m < 13; ++m) {
                correct += row[m] == result[m] ? 1 : 0;
            }
            ++counts[static_cast<std::size_t>(correct)];
        }
        int best = 13;
        while (counts[static_cast<std::size_t>(best)] == 0) {
            --best;
        }
        odds.bestRow[static_cast<std::size_t>(best)] += w;
        for (std::size_t c = 0; c < 14; ++c) {
            odds.anyRow[c] += counts[c] > 0 ? w : 0;
            odds.rowsTotal[c] += static_cast<long double>(counts[c] * w);
        }
        for (std::size_t m = 0; m < 13 && ++result[m] == 3; ++m) {
            result[m] = 0;
        }
    }
    return odds;
}

void ExpectSameOdds(const TipOdds& actual, const TipOdds& expected, const std::string& what) {
    EXPECT_EQ(actual.total, expected.total) << what;
    EXPECT_EQ(actual.bestRow, expected.bestRow) << what;
    EXPECT_EQ(actual.anyRow, expected.anyRow) << what;
    EXPECT_EQ(actual.rowsTotal, expected.rowsTotal) << what;
    EXPECT_FALSE(actual.stopped) << what;
}

TEST(TipOddsTest, OneRowGivesTheCountsOfTheHammingSpheres) {
    const std::vector<TipRow> rows = {RowOf("1021102110211")};
    EvalControl control;
    const TipOdds odds = ComputeTipOdds(rows, nullptr, control);
    EXPECT_EQ(odds.total, 1'594'323U);
    EXPECT_EQ(odds.bestRow[13], 1U);
    EXPECT_EQ(odds.bestRow[12], 26U);
    EXPECT_EQ(odds.bestRow[11], 312U);
    EXPECT_EQ(odds.bestRow[10], 2'288U);
    EXPECT_EQ(odds.bestRow[0], 8'192U);
    EXPECT_EQ(odds.anyRow, odds.bestRow);
    EXPECT_EQ(odds.rowsTotal[10], 2'288.0L);
    EXPECT_EQ(control.done.load(), control.total.load());
}

TEST(TipOddsTest, RandomBoardsMatchTheLiteralReference) {
    std::mt19937 engine(13);
    for (int board = 0; board < 3; ++board) {
        // Rows near each other, so that a result often has several rows in the top classes.
        std::vector<TipRow> rows;
        TipRow centre{};
        for (auto& v : centre) {
            v = static_cast<std::uint8_t>(engine() % 3);
        }
        const int count = 1 + static_cast<int>(engine() % 6);
        for (int i = 0; i < count; ++i) {
            TipRow row = centre;
            for (int change = static_cast<int>(engine() % 5); change > 0; --change) {
                row[engine() % 13] = static_cast<std::uint8_t>(engine() % 3);
            }
            rows.push_back(row);
        }
        std::array<std::uint8_t, 39> codes{};
        for (auto& code : codes) {
            // About half the outcomes chosen, some matches left without a choice.
            code = engine() % 2 == 0 ? static_cast<std::uint8_t>(engine() % 4) : 0;
        }
        EvalControl control;
        ExpectSameOdds(ComputeTipOdds(rows, nullptr, control), ReferenceOdds(rows, nullptr),
                       "uniform, board " + std::to_string(board));
        ExpectSameOdds(ComputeTipOdds(rows, &codes, control), ReferenceOdds(rows, &codes),
                       "weighted, board " + std::to_string(board));
    }
}

TEST(TipOddsTest, StatusWeightsAreExactProductsOfTheCodes) {
    // Match 1: "1" Fav I, "0" Fav III, "2" out; every other match without a choice.
    std::array<std::uint8_t, 39> codes{};
    codes[0] = 1;
    codes[1] = 3;
    const std::vector<TipRow> rows = {RowOf("0000000000000")};
    EvalControl control;
    const TipOdds odds = ComputeTipOdds(rows, &codes, control);
    EXPECT_EQ(odds.total, 4U * 531'441U);  // (1 + 3) * 3^12
    // 13 correct: match 1 ends "0" (weight 3) and every other match as tipped.
    EXPECT_EQ(odds.bestRow[13], 3U);
    // 12 correct: match 1 "1" (weight 1), or one of twelve other matches differs (3 * 2 each).
    EXPECT_EQ(odds.bestRow[12], 1U + 12U * 6U);
}

TEST(TipOddsTest, AStoppedRunGivesNoFigures) {
    EvalControl control;
    control.stop = true;
    const TipOdds odds = ComputeTipOdds({RowOf("1111111111111")}, nullptr, control);
    EXPECT_TRUE(odds.stopped);
    EXPECT_EQ(odds.total, 0U);
}

TEST(TipOddsTest, BothViewsInOneComputationAreTheViewsComputedApart) {
    std::mt19937 engine(21);
    std::vector<TipRow> rows(40);
    for (TipRow& row : rows) {
        for (auto& v : row) {
            v = static_cast<std::uint8_t>(engine() % 3);
        }
    }
    std::array<std::uint8_t, 39> codes{};
    for (auto& code : codes) {
        code = static_cast<std::uint8_t>(engine() % 4);
    }
    EvalControl control;
    const TipOddsViews views = ComputeTipOddsViews(rows, codes, control);
    EvalControl apart;
    ExpectSameOdds(views.uniform, ComputeTipOdds(rows, nullptr, apart), "uniform");
    ExpectSameOdds(views.weighted, ComputeTipOdds(rows, &codes, apart), "weighted");
    EXPECT_EQ(control.done.load(), control.total.load());
    EXPECT_EQ(control.total.load(), 16U * kTipResultCount);
}

TEST(TipOddsTest, AStopEndsTheComputationAtTheStepItCameIn) {
    // 16 steps over all results: the rows, 13 matches, the tally of each view.
    const std::vector<TipRow> rows = {RowOf("1021102110211"), RowOf("2222222222222")};
    const std::array<std::uint8_t, 39> codes{1, 2, 3};
    for (std::uint64_t at = 1; at <= 16; ++at) {
        SCOPED_TRACE(at);
        EvalControl control;
        std::uint64_t steps = 0;
        control.afterStep = [&] {
            if (++steps == at) {
                control.stop = true;
            }
        };
        const TipOddsViews views = ComputeTipOddsViews(rows, codes, control);
        EXPECT_EQ(steps, at);
        EXPECT_EQ(control.done.load(), at * kTipResultCount);
        EXPECT_EQ(views.uniform.stopped, at < 15);
        EXPECT_EQ(views.weighted.stopped, at < 16);
        if (views.uniform.stopped) {
            EXPECT_EQ(views.uniform.total, 0U);
        } else {
            EXPECT_EQ(views.uniform.total, kTipResultCount);
            EXPECT_EQ(views.uniform.bestRow[13], 2U);
        }
    }
}

// ---- Hits for one set of results -----------------------------------------------------------

TEST(TipHitsTest, CorrectTipsPerRowAndTheSummary) {
    const std::vector<TipRow> rows = {RowOf("1021102110211"), RowOf("1021102110212"),
                                      RowOf("2222222222222"), RowOf("1021102110200")};
    const TipHits hits = CountTipHits(rows, RowOf("1021102110211"));
    EXPECT_EQ(hits.correct, (std::vector<std::uint8_t>{13, 12, 3, 11}));
    EXPECT_EQ(TipHitSummary(hits),
              "13 Richtige: 1 Reihe · 12 Richtige: 1 Reihe · 11 Richtige: 1 Reihe · 10 Richtige: "
              "0 Reihen");
}

// ---- Reading tips and results --------------------------------------------------------------

StringGrid TipTable(const std::vector<std::string>& lines, int extraEmptyRows) {
    StringGrid table(14, static_cast<int>(lines.size()) + 1 + extraEmptyRows, 1, 1);
    for (std::size_t r = 0; r < lines.size(); ++r) {
        for (std::size_t m = 0; m < lines[r].size() && m < 13; ++m) {
            table.setCell(static_cast<int>(m) + 1, static_cast<int>(r) + 1,
                          lines[r][m] == '.' ? "" : std::string(1, lines[r][m]));
        }
    }
    return table;
}

std::string MessageOf(const std::variant<std::vector<TipRow>, std::string>& result) {
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "rows";
}

TEST(TipInputTest, TipRowsAreReadOrRefusedWithTheRowNamed) {
    const auto rows = ReadTipRows(TipTable({"1021102110211", "2222222222222"}, 3));
    ASSERT_TRUE(std::holds_alternative<std::vector<TipRow>>(rows));
    EXPECT_EQ(std::get<std::vector<TipRow>>(rows),
              (std::vector<TipRow>{RowOf("1021102110211"), RowOf("2222222222222")}));

    EXPECT_EQ(MessageOf(ReadTipRows(TipTable({}, 24))),
              "Die Tabelle enthält keine Tippreihe, die ausgewertet werden kann.");
    EXPECT_EQ(MessageOf(ReadTipRows(TipTable({"1021102110211", "10211.2110211"}, 0))),
              "Reihe 2, Spiel 6: kein Tipp eingetragen.");
    EXPECT_EQ(MessageOf(ReadTipRows(TipTable({"102110211021x"}, 0))),
              "Reihe 1, Spiel 13: \"x\" ist kein Tipp. Erlaubt sind 1, 0 und 2.");
    EXPECT_EQ(
        MessageOf(ReadTipRows(TipTable({"1021102110211", ".............", "2222222222222"}, 0))),
        "Reihe 2 ist leer, nach ihr folgen aber weitere Reihen.");
}

TEST(TipInputTest, ResultsAreParsedOrRefusedWithTheMatchNamed) {
    const TipRow expected = RowOf("1021102110211");
    for (const char* text :
         {"1,0,2,1,1,0,2,1,1,0,2,1,1", "1;0;2;1;1;0;2;1;1;0;2;1;1;", " 1 0 2 1 1 0 2 1 1 0 2 1 1 ",
          "1021102110211", "1, 0, 2, 1, 1, 0, 2, 1, 1, 0, 2, 1, 1"}) {
        const auto results = ParseTipResults(text);
        ASSERT_TRUE(std::holds_alternative<TipRow>(results)) << text;
        EXPECT_EQ(std::get<TipRow>(results), expected) << text;
    }
    const auto message = [](std::string_view text) {
        const auto result = ParseTipResults(text);
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result)
                                                           : "results";
    };
    EXPECT_EQ(message("1,0,2,1,1,0,2,1,1,0,2,1"), "Für Spiel 13 ist kein Ergebnis angegeben.");
    EXPECT_EQ(message("1,0,,1,1,0,2,1,1,0,2,1,1"), "Für Spiel 3 ist kein Ergebnis angegeben.");
    EXPECT_EQ(message(""), "Für Spiel 1 ist kein Ergebnis angegeben.");
    EXPECT_EQ(message("1,0,2,1,1,0,3,1,1,0,2,1,1"),
              "Spiel 7: \"3\" ist kein Ergebnis. Erlaubt sind 1, 0 und 2.");
    EXPECT_EQ(message("1,0,2,1,1,0,22,1,1,0,2,1,1"),
              "Spiel 7: \"22\" ist kein Ergebnis. Erlaubt sind 1, 0 und 2.");
    EXPECT_EQ(message("10211021102111"),
              "Es sind 14 Ergebnisse angegeben, ein Tipp hat aber 13 "
              "Spiele.");
    EXPECT_EQ(message("102110x110211"),
              "Spiel 7: \"x\" ist kein Ergebnis. Erlaubt sind 1, 0 und 2.");
    // A character of two bytes is one entry, quoted whole.
    EXPECT_EQ(message("102110ä110211"),
              "Spiel 7: \"ä\" ist kein Ergebnis. Erlaubt sind 1, 0 und 2.");
}

}  // namespace
}  // namespace losfix
