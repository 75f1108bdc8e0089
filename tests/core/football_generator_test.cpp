#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/common/Error.h"
#include "core/common/Random.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipGenerator.h"
#include "core/football/TipTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;

Random::SeedSource Seeds(std::uint32_t start) {
    return CountingSeedSource(start, 0x9E3779B9U);
}

struct TipRun {
    StringGrid table = MakeTipTable(FixedMeasure);
    StringGrid matrix = MakeOutcomeMatrix(FixedMeasure);
    OutcomeCounts counts{};
    TipRunOutcome outcome;
    std::uint64_t yields = 0;
    TipRunProgress last;
};

// Stops every run after `limit` candidates at the latest, so no test can hang.
TipRun Generate(const MatchBoard& board, int requested, std::uint32_t seed,
                std::uint64_t limit = 200000, bool listScan = false) {
    TipRun run;
    Random random(Seeds(seed));
    TipGenerator generator(random, FixedMeasure);
    const MatchDrums drums = BuildMatchDrums(board.statuses());
    const TipYieldCallback yield = [&](const TipRunProgress& progress) {
        ++run.yields;
        run.last = progress;
        return progress.candidates >= limit;
    };
    run.outcome =
        listScan ? generator.runListScan(drums, requested, run.table, run.matrix, run.counts, yield)
                 : generator.run(drums, requested, run.table, run.matrix, run.counts, yield);
    return run;
}

MatchBoard Bankers() {
    MatchBoard board;
    for (int match = 1; match <= kMatchCount; ++match) {
        board.setTipStatus(OutcomeSlot(match, 1 + match % 3), TipStatus::TipFavII);
    }
    return board;
}

// Labels, distinct rows of chosen outcomes, and counts and matrix that count the table.
void ExpectConsistent(const TipRun& run, const MatchBoard& board) {
    const int rows = run.outcome.acceptedRows;
    ASSERT_EQ(run.table.rowCount(), rows + 1);
    std::set<std::vector<std::string>> distinct;
    OutcomeCounts fromTable{};
    for (int r = 1; r <= rows; ++r) {
        EXPECT_EQ(run.table.cell(0, r), TipRowLabel(r, FixedMeasure));
        std::vector<std::string> symbols;
        for (int match = 1; match <= kMatchCount; ++match) {
            const std::string& symbol = run.table.cell(match, r);
            symbols.push_back(symbol);
            const int row = MatrixRowOfValue(std::stoi(symbol));
            ASSERT_NE(row, 0);
            EXPECT_TRUE(IsChosen(board.status(OutcomeSlot(match, row)))) << r << "/" << match;
            ++fromTable[static_cast<std::size_t>(match - 1)][static_cast<std::size_t>(row - 1)];
        }
        distinct.insert(symbols);
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), rows);
    EXPECT_EQ(run.counts, fromTable);
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int row = 1; row <= 3; ++row) {
            const int count =
                fromTable[static_cast<std::size_t>(match - 1)][static_cast<std::size_t>(row - 1)];
            EXPECT_EQ(run.matrix.cell(match, row), count == 0 ? "" : std::to_string(count));
        }
    }
}

TEST(TipGeneratorTest, PlanningARun) {
    MatchBoard board;
    board.setTipStatus(4, TipStatus::TipFavI);
    board.setTipStatus(6, TipStatus::TipFavIII);
    EXPECT_EQ(BuildMatchDrums(board.statuses())[1], (MatchDrum{4, 6, 6, 6}));

    // Matches 3 and 7 empty: the message names match 3, and the count field is not read.
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        const int match = MatchOfSlot(slot);
        board.setTipStatus(slot, match == 3 || match == 7 ? TipStatus::TipOut : TipStatus::TipFavI);
    }
    EXPECT_EQ(PlanTipRun(board.statuses(), "abc").refusal.value(),
              "Sie müssen für Spiel 3 eine Auswahl treffen.\r\rIch breche erst einmal ab.");

    const TipRunPlan empty = PlanTipRun(Bankers().statuses(), "");
    EXPECT_EQ(empty.countText, "72");
    EXPECT_EQ(empty.requested, 72);
    EXPECT_EQ(
        empty.hint.value(),
        "Mit dieser Auswahl gibt es nur eine einzige Reihe, gewünscht sind 72. Die "
        "Reihenbildung startet trotzdem, endet aber nicht von selbst: Beenden Sie sie mit der "
        "Stopp-Taste, sobald alle Reihen gefunden sind.");
    EXPECT_FALSE(PlanTipRun(Bankers().statuses(), "1").hint.has_value());
    EXPECT_THROW(
        {
            try {
                PlanTipRun(Bankers().statuses(), "12a");
            } catch (const Error& error) {
                EXPECT_STREQ(error.what(), "''12a'' ist kein gültiger Integer-Wert");
                throw;
            }
        },
        Error);
    EXPECT_TRUE(TipCountHint(10000, 8192)
                    .value()
                    .starts_with("Mit dieser Auswahl gibt es nur 8.192 verschiedene Reihen, "
                                 "gewünscht sind 10.000. "));
    EXPECT_FALSE(TipCountHint(8192, 8192).has_value());
    EXPECT_TRUE(TipCountHint(0, 8192).has_value());
}

TEST(TipGeneratorTest, ThirteenBankersGiveExactlyOneRow) {
    const MatchBoard board = Bankers();
    const TipRun one = Generate(board, 1, 5);
    EXPECT_EQ(one.outcome.acceptedRows, 1);
    EXPECT_EQ(one.outcome.candidates, 1U);
    EXPECT_FALSE(one.outcome.stopped);
    EXPECT_EQ(TipRowLines(one.table), std::vector<std::string>{"0,2,1,0,2,1,0,2,1,0,2,1,0"});

    // Two can never be reached: the run goes on until it is stopped, then writes its one row.
    const TipRun two = Generate(board, 2, 5, 500);
    EXPECT_TRUE(two.outcome.stopped);
    EXPECT_EQ(two.outcome.acceptedRows, 1);
    EXPECT_EQ(two.outcome.candidates, 500U);
    EXPECT_EQ(two.yields, 501U);
    EXPECT_TRUE(two.last.allRowsFound());
    EXPECT_EQ(TipProgressText(two.last),
              "Reihe 1 von 2, 500 Kandidaten geprüft – die einzige mögliche Reihe ist gefunden. "
              "Bitte mit der Stopp-Taste beenden.");
    EXPECT_EQ(TipRunSummary(two.outcome, 2), "1 von 2 Reihen gebildet, 500 Kandidaten geprüft.");

    // A second outcome in match 4 ("0" Fav II, "2" Fav I): two rows, counted in the matrix.
    MatchBoard twoWay = board;
    twoWay.setTipStatus(OutcomeSlot(4, 3), TipStatus::TipFavI);
    const TipRun run = Generate(twoWay, 2, 9);
    ASSERT_EQ(run.outcome.acceptedRows, 2);
    EXPECT_FALSE(run.outcome.stopped);
    EXPECT_EQ(run.matrix.cell(1, 2), "2");
    EXPECT_EQ(run.matrix.cell(4, 1) + "/" + run.matrix.cell(4, 2) + "/" + run.matrix.cell(4, 3),
              "/1/1");
    ExpectConsistent(run, twoWay);
}

TEST(TipGeneratorTest, RunFillsTheTablesOnlyAtItsEnd) {
    MatchBoard board;
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        board.setTipStatus(slot, slot % 3 == 0 ? TipStatus::TipOut : TipStatus::TipFavIII);
    }
    TipRun run;
    run.table.setCell(5, 3, "x");
    const StringGrid before = run.table;
    Random random(Seeds(42));
    TipGenerator generator(random, FixedMeasure);
    bool untouched = true;
    run.outcome = generator.run(BuildMatchDrums(board.statuses()), 72, run.table, run.matrix,
                                run.counts, [&](const TipRunProgress& progress) {
                                    untouched = untouched && run.table == before;
                                    return progress.candidates >= 100000;
                                });
    EXPECT_TRUE(untouched);
    EXPECT_EQ(run.outcome.acceptedRows, 72);
    ExpectConsistent(run, board);

    // An empty drum is never drawn from: the run refuses and touches nothing.
    MatchDrums drums = BuildMatchDrums(board.statuses());
    drums[6].clear();
    const StringGrid after = run.table;
    EXPECT_TRUE(generator.run(drums, 5, run.table, run.matrix, run.counts, {}).refused);
    EXPECT_TRUE(run.table == after);

    // A stop asked for before the first candidate still lets one be drawn.
    const TipRunOutcome stoppedAtOnce =
        generator.run(BuildMatchDrums(board.statuses()), 5, run.table, run.matrix, run.counts,
                      [](const TipRunProgress&) { return true; });
    EXPECT_TRUE(stoppedAtOnce.stopped);
    EXPECT_EQ(stoppedAtOnce.acceptedRows, 1);
    EXPECT_EQ(run.table.rowCount(), 2);
}

// Every candidate starts from a seed of its own: a clock that gives each seed twice makes every
// second candidate repeat the one before, which is dropped, and the rows are those of the single
// seeds in their order. Both duplicate tests agree.
TEST(TipGeneratorTest, EveryCandidateIsDrawnFromAFreshSeed) {
    MatchBoard board;
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        board.setTipStatus(slot, TipStatus::TipFavI);
    }
    const MatchDrums drums = BuildMatchDrums(board.statuses());
    auto runWith = [&](Random::SeedSource seeds, bool listScan) {
        TipRun run;
        Random random(std::move(seeds));
        TipGenerator generator(random, FixedMeasure);
        const TipYieldCallback yield = [](const TipRunProgress& progress) {
            return progress.candidates >= 10000;
        };
        run.outcome =
            listScan ? generator.runListScan(drums, 40, run.table, run.matrix, run.counts, yield)
                     : generator.run(drums, 40, run.table, run.matrix, run.counts, yield);
        return run;
    };
    auto eachSeedTwice = [] {
        auto once = std::make_shared<Random::SeedSource>(Seeds(77));
        auto pending = std::make_shared<std::optional<std::uint32_t>>();
        return Random::SeedSource([once, pending]() -> std::uint32_t {
            if (*pending) {
                const std::uint32_t seed = **pending;
                pending->reset();
                return seed;
            }
            *pending = (*once)();
            return **pending;
        });
    };

    const TipRun single = runWith(Seeds(77), false);
    ASSERT_EQ(single.outcome.acceptedRows, 40);
    ASSERT_EQ(single.outcome.candidates, 40U) << "distinct seeds give distinct rows here";
    for (const bool listScan : {false, true}) {
        const TipRun doubled = runWith(eachSeedTwice(), listScan);
        EXPECT_EQ(doubled.outcome.acceptedRows, 40) << listScan;
        // The 40th row is the 79th candidate; its twin is never drawn.
        EXPECT_EQ(doubled.outcome.candidates, 79U) << listScan;
        EXPECT_FALSE(doubled.outcome.stopped) << listScan;
        EXPECT_EQ(TipRowLines(doubled.table), TipRowLines(single.table)) << listScan;
    }
}

// Match 1: "1" Fav I, "0" Fav III; match 2: Fav I, Fav II, Fav III; the rest even.
TEST(TipGeneratorTest, OutcomesAreDrawnByTheirStatusWeights) {
    MatchBoard board;
    for (int slot = 7; slot <= kOutcomeSlotCount; ++slot) {
        board.setTipStatus(slot, TipStatus::TipFavI);
    }
    board.setTipStatus(1, TipStatus::TipFavI);
    board.setTipStatus(2, TipStatus::TipFavIII);
    board.setTipStatus(4, TipStatus::TipFavI);
    board.setTipStatus(5, TipStatus::TipFavII);
    board.setTipStatus(6, TipStatus::TipFavIII);
    const int rows = 12000;
    const TipRun run = Generate(board, rows, 2024);
    ASSERT_EQ(run.outcome.acceptedRows, rows);
    auto expectShare = [&](int count, double chance, const char* what) {
        const double sd = std::sqrt(rows * chance * (1 - chance));
        EXPECT_NEAR(count, chance * rows, 5 * sd) << what;
    };
    expectShare(run.counts[0][0], 1.0 / 4, "match 1, \"1\"");
    expectShare(run.counts[0][1], 3.0 / 4, "match 1, \"0\"");
    EXPECT_EQ(run.counts[0][2], 0);
    expectShare(run.counts[1][0], 1.0 / 6, "match 2, \"1\"");
    expectShare(run.counts[1][1], 2.0 / 6, "match 2, \"0\"");
    expectShare(run.counts[1][2], 3.0 / 6, "match 2, \"2\"");
    for (int match = 3; match <= kMatchCount; ++match) {
        for (int row = 0; row < 3; ++row) {
            expectShare(
                run.counts[static_cast<std::size_t>(match - 1)][static_cast<std::size_t>(row)],
                1.0 / 3, "even match");
        }
    }
}

TEST(TipGeneratorTest, FastDuplicateTestDecidesLikeTheListScan) {
    std::uint64_t state = 777;
    auto next = [&](int below) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(below));
    };
    int exhausted = 0;
    for (int boardNumber = 0; boardNumber < 80; ++boardNumber) {
        MatchBoard board;
        // Mostly bankers on some boards, so that every row gets found and duplicates pile up.
        const int spread = next(4);
        for (int match = 1; match <= kMatchCount; ++match) {
            const int chosen = 1 + (next(4) < spread ? next(3) : 0);
            for (int i = 0; i < chosen; ++i) {
                board.setTipStatus(OutcomeSlot(match, 1 + next(3)),
                                   static_cast<TipStatus>(1 + next(3)));
            }
        }
        const int requested = 1 + next(300);
        const auto seed = static_cast<std::uint32_t>(1000 + boardNumber);
        const TipRun fast = Generate(board, requested, seed, 4000, false);
        const TipRun scan = Generate(board, requested, seed, 4000, true);
        const std::string what = "board " + std::to_string(boardNumber);
        ASSERT_EQ(fast.outcome.acceptedRows, scan.outcome.acceptedRows) << what;
        ASSERT_EQ(fast.outcome.candidates, scan.outcome.candidates) << what;
        ASSERT_EQ(fast.outcome.stopped, scan.outcome.stopped) << what;
        ASSERT_EQ(fast.yields, scan.yields) << what;
        ASSERT_TRUE(fast.table == scan.table) << what;
        ASSERT_TRUE(fast.matrix == scan.matrix) << what;
        ExpectConsistent(fast, board);
        exhausted += fast.last.allRowsFound() ? 1 : 0;
    }
    EXPECT_GE(exhausted, 10);
}

}  // namespace
}  // namespace losfix
