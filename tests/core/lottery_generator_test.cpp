#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/common/PadLabel.h"
#include "core/common/Random.h"
#include "core/common/StringGrid.h"
#include "core/lottery/Board.h"
#include "core/lottery/CongruenceIndex.h"
#include "core/lottery/RowGenerator.h"
#include "core/lottery/RowTable.h"
#include "support/core/FixedMeasure.h"

namespace losfix {
namespace {

using testing::FixedMeasure;
constexpr auto Measure = FixedMeasure;

// Well-spread seeds, one after the other, from a fixed start.
Random::SeedSource MixedSeeds(std::uint64_t start) {
    auto state = std::make_shared<std::uint64_t>(start);
    return [state] {
        std::uint64_t z = (*state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>(z ^ (z >> 31));
    };
}

// Stops a run that cannot finish, the same way every time.
YieldCallback StopAfterCandidates(std::uint64_t limit) {
    return [limit](const RunProgress& progress) { return progress.candidates >= limit; };
}

std::vector<int> RowNumbers(const StringGrid& table, int row) {
    std::vector<int> numbers;
    for (int c = 1; c < kRowTableColumns; ++c) {
        const std::string& text = table.cell(c, row);
        if (text.empty()) {
            break;
        }
        numbers.push_back(std::stoi(text));
    }
    return numbers;
}

NumberSet AsSet(const std::vector<int>& numbers) {
    NumberSet set;
    for (const int n : numbers) {
        set.add(n);
    }
    return set;
}

int AdjacentPairs(const std::vector<int>& ascending) {
    int pairs = 0;
    for (std::size_t i = 1; i < ascending.size(); ++i) {
        pairs += ascending[i] == ascending[i - 1] + 1 ? 1 : 0;
    }
    return pairs;
}

struct GeneratedRun {
    StringGrid table = MakeRowTable(Measure);
    DrawCounts counts{};
    RunOutcome outcome;
    std::uint64_t yields = 0;
    // Where the run left the generator's seed, and the next seeds it hands out.
    std::uint32_t seedAfter = 0;
    std::array<std::uint32_t, 3> nextSeeds{};
};

GeneratedRun Generate(const Board& board, const RunSettings& settings, Random::SeedSource seeds,
                      const YieldCallback& stop = {}, bool reference = false) {
    GeneratedRun result;
    Random random(std::move(seeds));
    RowGenerator generator(random, Measure);
    const Drum drum = BuildDrum(board.statuses(), settings.poolSize);
    const YieldCallback yield = [&](const RunProgress& progress) {
        ++result.yields;
        // A run that should finish but does not must end the test, not hang it.
        return stop ? stop(progress) : progress.candidates >= 1000000;
    };
    result.outcome =
        reference ? generator.runReference(settings, drum, result.table, result.counts, yield)
                  : generator.run(settings, drum, result.table, result.counts, yield);
    result.seedAfter = random.seed();
    for (std::uint32_t& seed : result.nextSeeds) {
        random.reseed();
        seed = random.seed();
    }
    return result;
}

RunSettings Settings(int rows, int pool, int rowSize, int limit,
                     PairRule rule = PairRule::NoCheck) {
    RunSettings settings;
    settings.requestedRows = rows;
    settings.poolSize = pool;
    settings.rowSize = rowSize;
    settings.congruenceLimit = limit;
    settings.pairRule = rule;
    return settings;
}

// Every filled row: its label, its numbers ascending inside the pool with the empty rest, and the
// draw counts that exactly match the table.
void ExpectConsistentTable(const GeneratedRun& run, const RunSettings& settings, const Drum& drum) {
    const int accepted = run.outcome.acceptedRows;
    DrawCounts fromTable{};
    for (int r = 1; r <= accepted; ++r) {
        EXPECT_EQ(run.table.cell(0, r), RowLabel(r, Measure)) << r;
        const std::vector<int> numbers = RowNumbers(run.table, r);
        ASSERT_EQ(static_cast<int>(numbers.size()), settings.rowSize) << r;
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
        EXPECT_EQ(AsSet(numbers).count(), settings.rowSize);
        const NumberSet row = AsSet(numbers);
        EXPECT_EQ(row.sharedCount(drum.bankers), drum.bankerCount) << "bankers missing in " << r;
        for (const int n : numbers) {
            ASSERT_GE(n, 1);
            ASSERT_LE(n, settings.poolSize);
            ++fromTable[static_cast<std::size_t>(n - 1)];
        }
        for (int c = settings.rowSize + 1; c < kRowTableColumns; ++c) {
            EXPECT_TRUE(run.table.cell(c, r).empty());
        }
    }
    EXPECT_EQ(run.counts, fromTable);
    EXPECT_EQ(std::accumulate(run.counts.begin(), run.counts.end(), 0),
              accepted * settings.rowSize);
}

// ---- Whole runs --------------------------------------------------------------------------------

TEST(RowGeneratorTest, Default120RowsOf6From49) {
    const Board board;
    const RunSettings settings = Settings(120, 49, 6, kCongruenceMax);
    const GeneratedRun run = Generate(board, settings, MixedSeeds(1));
    EXPECT_EQ(run.outcome.acceptedRows, 120);
    EXPECT_FALSE(run.outcome.stopped);
    EXPECT_FALSE(run.outcome.refused);
    EXPECT_GE(run.outcome.candidates, 120U);
    EXPECT_EQ(run.table.rowCount(), 121);
    EXPECT_EQ(run.table.columnCount(), 17);
    EXPECT_EQ(run.table.fixedRows(), 1);
    EXPECT_EQ(run.table.fixedColumns(), 1);
    EXPECT_EQ(run.table.cell(0, 0), "Reihe");
    ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 49));

    std::set<std::vector<int>> distinct;
    for (int r = 1; r <= 120; ++r) {
        distinct.insert(RowNumbers(run.table, r));
    }
    EXPECT_EQ(distinct.size(), 120U);
    // Once before the first candidate, then once per drum entry: six entries a candidate here.
    EXPECT_EQ(run.yields, 1 + 6 * run.outcome.candidates);
}

TEST(RowGeneratorTest, SameSeedsGiveTheSameRows) {
    const Board board;
    const RunSettings settings = Settings(200, 49, 6, 4);
    const GeneratedRun a = Generate(board, settings, MixedSeeds(5));
    const GeneratedRun b = Generate(board, settings, MixedSeeds(5));
    const GeneratedRun c = Generate(board, settings, MixedSeeds(6));
    EXPECT_EQ(a.table, b.table);
    EXPECT_EQ(a.counts, b.counts);
    EXPECT_EQ(a.outcome.candidates, b.outcome.candidates);
    EXPECT_NE(a.table, c.table);
}

TEST(RowGeneratorTest, TableIsResizedAndOnlyNumberCellsCleared) {
    const Board board;
    Random random(MixedSeeds(3));
    RowGenerator generator(random, Measure);
    StringGrid table = MakeRowTable(Measure);
    table.setRowCount(301);
    for (int r = 1; r <= 300; ++r) {
        table.setCell(0, r, "old " + std::to_string(r));
        for (int c = 1; c < 17; ++c) {
            table.setCell(c, r, "77");
        }
    }
    DrawCounts counts{};
    counts.fill(5);
    const RunSettings settings = Settings(120, 49, 6, kCongruenceMax);
    // Stop as soon as 50 rows stand.
    const RunOutcome outcome =
        generator.run(settings, BuildDrum(board.statuses(), 49), table, counts,
                      [](const RunProgress& progress) { return progress.acceptedRows == 50; });
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.acceptedRows, 50);
    EXPECT_EQ(table.rowCount(), 121);
    for (int r = 1; r <= 50; ++r) {
        EXPECT_EQ(table.cell(0, r), RowLabel(r, Measure));
        EXPECT_EQ(RowNumbers(table, r).size(), 6U);
    }
    for (int r = 51; r <= 120; ++r) {
        EXPECT_EQ(table.cell(0, r), "old " + std::to_string(r));
        for (int c = 1; c < 17; ++c) {
            EXPECT_TRUE(table.cell(c, r).empty()) << c << " " << r;
        }
    }
    DrawCounts fromTable{};
    for (int r = 1; r <= 50; ++r) {
        for (const int n : RowNumbers(table, r)) {
            ++fromTable[static_cast<std::size_t>(n - 1)];
        }
    }
    EXPECT_EQ(counts, fromTable);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 300);
}

TEST(RowGeneratorTest, ARunOverAFullTableKeepsNoNumberOfTheEarlierRun) {
    const Board board;
    StringGrid table = MakeRowTable(Measure);
    DrawCounts counts{};
    Random random(MixedSeeds(3));
    RowGenerator generator(random, Measure);
    const RunSettings large = Settings(300, 49, 16, kCongruenceMax);
    generator.run(large, BuildDrum(board.statuses(), 49), table, counts, {});
    // A column beyond the numbers is not the run's to clear.
    table.setColumnCount(kRowTableColumns + 1);
    for (int r = 1; r <= 300; r += 7) {
        table.setCell(kRowTableColumns, r, "x");
    }
    const StringGrid earlier = table;

    const RunSettings small = Settings(250, 49, 6, 2);
    const Drum drum = BuildDrum(board.statuses(), 49);
    Random again(MixedSeeds(8));
    RowGenerator second(again, Measure);
    const RunOutcome outcome = second.run(small, drum, table, counts, StopAfterCandidates(150));
    const GeneratedRun fresh = Generate(board, small, MixedSeeds(8), StopAfterCandidates(150));
    ASSERT_TRUE(outcome.stopped);
    ASSERT_EQ(outcome.acceptedRows, fresh.outcome.acceptedRows);
    ASSERT_LT(outcome.acceptedRows, 250);
    ASSERT_EQ(table.rowCount(), 251);
    for (int r = 1; r <= 250; ++r) {
        const bool written = r <= outcome.acceptedRows;
        for (int c = 0; c < kRowTableColumns; ++c) {
            const std::string expected =
                written ? fresh.table.cell(c, r) : (c == 0 ? earlier.cell(0, r) : std::string());
            ASSERT_EQ(table.cell(c, r), expected) << "row " << r << ", column " << c;
        }
        EXPECT_EQ(table.cell(kRowTableColumns, r), earlier.cell(kRowTableColumns, r)) << r;
    }
}

TEST(RowGeneratorTest, StopBeforeTheFirstCandidate) {
    const Board board;
    const GeneratedRun run = Generate(board, Settings(30, 49, 6, kCongruenceMax), MixedSeeds(1),
                                      [](const RunProgress&) { return true; });
    EXPECT_TRUE(run.outcome.stopped);
    EXPECT_EQ(run.outcome.acceptedRows, 0);
    EXPECT_EQ(run.outcome.candidates, 0U);
    EXPECT_EQ(run.yields, 1U);
    EXPECT_EQ(run.table.rowCount(), 31);
    EXPECT_EQ(std::accumulate(run.counts.begin(), run.counts.end(), 0), 0);
}

TEST(RowGeneratorTest, ProgressIsReportedToTheCallback) {
    const Board board;
    std::uint64_t lastCandidates = 0;
    int lastAccepted = 0;
    bool sinceAcceptReset = false;
    bool consistent = true;
    const GeneratedRun run =
        Generate(board, Settings(300, 49, 6, 3), MixedSeeds(8), [&](const RunProgress& progress) {
            consistent = consistent && progress.requestedRows == 300 &&
                         progress.candidates >= lastCandidates &&
                         progress.acceptedRows >= lastAccepted &&
                         progress.candidatesSinceAccept <= progress.candidates;
            if (progress.acceptedRows > lastAccepted) {
                sinceAcceptReset = sinceAcceptReset || progress.candidatesSinceAccept == 0;
            }
            lastCandidates = progress.candidates;
            lastAccepted = progress.acceptedRows;
            return false;
        });
    EXPECT_TRUE(consistent);
    EXPECT_TRUE(sinceAcceptReset);
    EXPECT_EQ(lastAccepted, 299);  // the last row is accepted after the last callback
    EXPECT_EQ(run.outcome.acceptedRows, 300);
    EXPECT_EQ(lastCandidates + 1, run.outcome.candidates);
}

// ---- Congruence --------------------------------------------------------------------------------

TEST(RowGeneratorTest, SwitchOffRefusesOnlyIdenticalRows) {
    // Eight numbers left in the pool: C(8, 6) = 28 different rows, no more.
    Board board;
    for (int n = 9; n <= 35; ++n) {
        board.setStatus(n, NumberStatus::Out);
    }
    const RunSettings settings = Settings(29, 35, 6, 5);
    const GeneratedRun run = Generate(board, settings, MixedSeeds(11), StopAfterCandidates(5000));
    EXPECT_TRUE(run.outcome.stopped);
    EXPECT_EQ(run.outcome.acceptedRows, 28);
    ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 35));
    std::set<std::vector<int>> distinct;
    for (int r = 1; r <= 28; ++r) {
        distinct.insert(RowNumbers(run.table, r));
    }
    EXPECT_EQ(distinct.size(), 28U);
    EXPECT_TRUE(RowNumbers(run.table, 29).empty());
}

// Largest and smallest number of shared numbers over all pairs of accepted rows.
std::pair<int, int> SharedRange(const StringGrid& table, int rows) {
    std::vector<NumberSet> sets;
    for (int r = 1; r <= rows; ++r) {
        sets.push_back(AsSet(RowNumbers(table, r)));
    }
    int most = 0;
    int least = 99;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        for (std::size_t j = i + 1; j < sets.size(); ++j) {
            const int shared = sets[i].sharedCount(sets[j]);
            most = std::max(most, shared);
            least = std::min(least, shared);
        }
    }
    return {least, most};
}

TEST(RowGeneratorTest, CongruenceLimitIsHeldExactly) {
    const Board board;
    for (const int limit : {4, 3, 2}) {
        const int rows = limit == 2 ? 250 : 1500;
        const RunSettings settings = Settings(rows, 49, 6, limit);
        const GeneratedRun run =
            Generate(board, settings, MixedSeeds(100 + limit), StopAfterCandidates(2000000));
        ASSERT_EQ(run.outcome.acceptedRows, rows) << limit;
        EXPECT_GT(run.outcome.candidates, static_cast<std::uint64_t>(rows));
        ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 49));
        const auto [least, most] = SharedRange(run.table, rows);
        EXPECT_EQ(most, limit) << "rows sharing the limit are accepted, one more refused";
        EXPECT_EQ(least, 0);
    }
}

TEST(RowGeneratorTest, BankersStandInEveryRow) {
    Board board;
    board.setStatus(5, NumberStatus::Bank);
    board.setStatus(17, NumberStatus::Bank);
    board.setStatus(33, NumberStatus::Bank);
    board.setStatus(2, NumberStatus::FavII);
    board.setStatus(40, NumberStatus::Out);
    const RunSettings settings = Settings(400, 49, 8, 6);
    const GeneratedRun run =
        Generate(board, settings, MixedSeeds(21), StopAfterCandidates(1000000));
    ASSERT_EQ(run.outcome.acceptedRows, 400);
    ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 49));
    EXPECT_EQ(run.counts[4], 400);
    EXPECT_EQ(run.counts[16], 400);
    EXPECT_EQ(run.counts[32], 400);
    EXPECT_EQ(run.counts[39], 0);
    EXPECT_LE(SharedRange(run.table, 400).second, 6);
}

TEST(RowGeneratorTest, LimitBelowTheBankersAllowsOneRow) {
    Board board;
    board.setStatus(1, NumberStatus::Bank);
    board.setStatus(20, NumberStatus::Bank);
    board.setStatus(30, NumberStatus::Bank);
    const RunSettings settings = Settings(10, 49, 6, 2);
    const GeneratedRun run = Generate(board, settings, MixedSeeds(4), StopAfterCandidates(3000));
    EXPECT_TRUE(run.outcome.stopped);
    EXPECT_EQ(run.outcome.acceptedRows, 1);
    EXPECT_EQ(run.outcome.candidates, 3000U);
    ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 49));
    EXPECT_EQ(RunCeiling(49, 6, 3, 2), 1U);
}

TEST(RowGeneratorTest, FavouredEntriesOfOneNumberAreSkipped) {
    // Six numbers, each four times in the drum: the only row is 1..6.
    Board board;
    for (int n = 1; n <= 35; ++n) {
        board.setStatus(n, n <= 6 ? NumberStatus::FavIII : NumberStatus::Out);
    }
    const RunSettings settings = Settings(1, 35, 6, kCongruenceMax);
    const GeneratedRun run = Generate(board, settings, MixedSeeds(2));
    ASSERT_EQ(run.outcome.acceptedRows, 1);
    EXPECT_EQ(RowNumbers(run.table, 1), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    // More drum entries than numbers were taken (repeats cost a callback each).
    EXPECT_GT(run.yields, 1U + 6U);
    EXPECT_LE(run.yields, 1U + 24U);
}

// ---- Pair rule ---------------------------------------------------------------------------------

TEST(RowGeneratorTest, PairRulesFollowTheirPattern) {
    const Board board;
    for (const PairRule rule : {PairRule::EveryRow, PairRule::EverySecond, PairRule::EveryThird,
                                PairRule::EveryFourth, PairRule::Exclude}) {
        const int m = static_cast<int>(rule);
        const RunSettings settings = Settings(240, 49, 6, kCongruenceMax, rule);
        const GeneratedRun run =
            Generate(board, settings, MixedSeeds(30 + m), StopAfterCandidates(1000000));
        ASSERT_EQ(run.outcome.acceptedRows, 240) << m;
        ExpectConsistentTable(run, settings, BuildDrum(board.statuses(), 49));
        for (int r = 1; r <= 240; ++r) {
            const int expected = (m != 5 && r % m == 0) ? 1 : 0;
            EXPECT_EQ(AdjacentPairs(RowNumbers(run.table, r)), expected)
                << "rule " << m << " row " << r;
        }
    }
}

TEST(RowGeneratorTest, PairRuleCountsPairsAcrossTheWordBoundary) {
    // 63 and 64 sit in different halves of the number set; they still make a pair.
    Board board;
    for (int n = 1; n <= 90; ++n) {
        board.setStatus(n,
                        (n == 63 || n == 64 || n == 70) ? NumberStatus::Normal : NumberStatus::Out);
    }
    const GeneratedRun exclude =
        Generate(board, Settings(1, 90, 3, kCongruenceMax, PairRule::Exclude), MixedSeeds(1),
                 StopAfterCandidates(50));
    EXPECT_EQ(exclude.outcome.acceptedRows, 0);
    const GeneratedRun every =
        Generate(board, Settings(1, 90, 3, kCongruenceMax, PairRule::EveryRow), MixedSeeds(1),
                 StopAfterCandidates(50));
    EXPECT_EQ(every.outcome.acceptedRows, 1);
}

TEST(RowGeneratorTest, AdjacentBankersWithExcludeNeverPass) {
    Board board;
    board.setStatus(5, NumberStatus::Bank);
    board.setStatus(6, NumberStatus::Bank);
    const GeneratedRun run = Generate(board, Settings(5, 49, 6, kCongruenceMax, PairRule::Exclude),
                                      MixedSeeds(9), StopAfterCandidates(2000));
    EXPECT_TRUE(run.outcome.stopped);
    EXPECT_EQ(run.outcome.acceptedRows, 0);
    EXPECT_EQ(std::accumulate(run.counts.begin(), run.counts.end(), 0), 0);
}

// A seed source that hands out a fixed list and then repeats its last seed.
Random::SeedSource Seeds(std::vector<std::uint32_t> list) {
    auto index = std::make_shared<std::size_t>(0);
    return [list = std::move(list), index] {
        const std::uint32_t seed = list[std::min(*index, list.size() - 1)];
        ++*index;
        return seed;
    };
}

TEST(RowGeneratorTest, CandidateRefusedByThePairRuleStillRefusesItsTwin) {
    const Board board;
    // What one seed draws: a run of one row without rules.
    auto candidateOf = [&](std::uint32_t seed) {
        const GeneratedRun run = Generate(board, Settings(1, 49, 6, kCongruenceMax), Seeds({seed}));
        return RowNumbers(run.table, 1);
    };
    std::uint32_t withPair = 0;
    std::uint32_t without = 0;
    for (std::uint32_t seed = 1; withPair == 0 || without == 0; ++seed) {
        const int pairs = AdjacentPairs(candidateOf(seed));
        if (pairs == 1 && withPair == 0) {
            withPair = seed;
        } else if (pairs == 0 && without == 0) {
            without = seed;
        }
    }
    const std::vector<int> twin = candidateOf(withPair);
    EXPECT_EQ(candidateOf(withPair), twin) << "one seed, one candidate";

    // "in jeder zweiten": the candidate with a pair fails as row 1 but would fit as row 2.
    const RunSettings settings = Settings(2, 49, 6, kCongruenceMax, PairRule::EverySecond);
    const GeneratedRun control =
        Generate(board, settings, Seeds({without, withPair}), StopAfterCandidates(10));
    ASSERT_EQ(control.outcome.acceptedRows, 2);
    EXPECT_EQ(RowNumbers(control.table, 2), twin);

    // Drawn first, it is refused by the pair rule; its twin later is refused as a repeat.
    const GeneratedRun run =
        Generate(board, settings, Seeds({withPair, without, withPair}), StopAfterCandidates(10));
    EXPECT_TRUE(run.outcome.stopped);
    EXPECT_EQ(run.outcome.acceptedRows, 1);
    EXPECT_EQ(RowNumbers(run.table, 1), candidateOf(without));
    EXPECT_TRUE(RowNumbers(run.table, 2).empty());
}

// ---- Weighting ---------------------------------------------------------------------------------

// Chance that a number of weight w[i] is among `draws` numbers drawn one by one, each with a
// chance proportional to its weight among those not yet drawn (what a shuffled drum gives).
double InclusionChance(const std::vector<int>& weights, std::size_t i, int draws) {
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<bool> taken(weights.size(), false);
    // P(i not drawn) by recursion over the draws.
    auto missing = [&](auto&& self, double remaining, int left) -> double {
        if (left == 0) {
            return 1.0;
        }
        double p = 0.0;
        for (std::size_t j = 0; j < weights.size(); ++j) {
            if (j == i || taken[j]) {
                continue;
            }
            taken[j] = true;
            p += weights[j] / remaining * self(self, remaining - weights[j], left - 1);
            taken[j] = false;
        }
        return p;
    };
    return 1.0 - missing(missing, total, draws);
}

TEST(RowGeneratorTest, FavouredNumbersAreDrawnByTheirDrumEntries) {
    Board board;
    board.setStatus(1, NumberStatus::FavIII);
    board.setStatus(2, NumberStatus::FavII);
    board.setStatus(3, NumberStatus::FavI);
    const int rows = 6000;
    const RunSettings settings = Settings(rows, 90, 3, kCongruenceMax);
    const GeneratedRun run = Generate(board, settings, MixedSeeds(77));
    ASSERT_EQ(run.outcome.acceptedRows, rows);

    // Weights grouped: the three favourites, then the 87 normal numbers.
    std::vector<int> weights = {4, 3, 2};
    weights.insert(weights.end(), 87, 1);
    auto expectNear = [&](double observed, double chance, int samples, const char* what) {
        const double expected = chance * rows;
        const double sd = std::sqrt(rows * chance * (1 - chance) / samples);
        EXPECT_NEAR(observed, expected, 5 * sd + 0.02 * expected) << what;
    };
    const double p4 = InclusionChance(weights, 0, 3);
    const double p3 = InclusionChance(weights, 1, 3);
    const double p2 = InclusionChance(weights, 2, 3);
    const double p1 = InclusionChance(weights, 3, 3);
    expectNear(run.counts[0], p4, 1, "Fav III");
    expectNear(run.counts[1], p3, 1, "Fav II");
    expectNear(run.counts[2], p2, 1, "Fav I");
    const double normalMean = std::accumulate(run.counts.begin() + 3, run.counts.end(), 0.0) / 87;
    expectNear(normalMean, p1, 87, "Normal");
    EXPECT_GT(run.counts[0], run.counts[1]);
    EXPECT_GT(run.counts[1], run.counts[2]);
    EXPECT_GT(run.counts[2], normalMean);
}

// ---- Refusal -----------------------------------------------------------------------------------

TEST(RowGeneratorTest, RunsThatCannotCompleteARowAreRefused) {
    Board board;
    const Drum full = BuildDrum(board.statuses(), 49);
    EXPECT_FALSE(RunRefusal(Settings(120, 49, 6, 15), full).has_value());
    EXPECT_EQ(RunRefusal(Settings(0, 49, 6, 15), full).value(),
              "Die gewünschte Reihenanzahl muss mindestens 1 sein.");
    EXPECT_TRUE(RunRefusal(Settings(-3, 49, 6, 15), full).has_value());

    for (int n = 1; n <= 6; ++n) {
        board.setStatus(n, NumberStatus::Bank);
    }
    const Drum sixBankers = BuildDrum(board.statuses(), 49);
    const auto bankers = RunRefusal(Settings(10, 49, 6, 15), sixBankers);
    ASSERT_TRUE(bankers.has_value());
    EXPECT_NE(bankers->find("keine Reihe"), std::string::npos);
    EXPECT_NE(bankers->find("6 Zahlen als \"Bank\""), std::string::npos) << *bankers;
    EXPECT_FALSE(RunRefusal(Settings(10, 49, 7, 15), sixBankers).has_value());

    board.resetStatuses();
    for (int n = 1; n <= 49; ++n) {
        board.setStatus(n, n <= 4 ? NumberStatus::FavIII : NumberStatus::Out);
    }
    board.setStatus(10, NumberStatus::Bank);
    const Drum few = BuildDrum(board.statuses(), 49);  // 16 entries, 4 numbers, 1 banker
    EXPECT_FALSE(RunRefusal(Settings(1, 49, 5, 15), few).has_value());
    const auto tooFew = RunRefusal(Settings(1, 49, 6, 15), few);
    ASSERT_TRUE(tooFew.has_value());
    EXPECT_NE(tooFew->find("nur 5 Zahlen"), std::string::npos) << *tooFew;
    EXPECT_NE(tooFew->find("1 Bankzahl und 4 Zahlen in der Lostrommel"), std::string::npos)
        << *tooFew;
}

TEST(RowGeneratorTest, RefusedRunTouchesNothing) {
    Board board;
    for (int n = 1; n <= 49; ++n) {
        board.setStatus(n, n <= 3 ? NumberStatus::Normal : NumberStatus::Out);
    }
    Random random(MixedSeeds(1));
    RowGenerator generator(random, Measure);
    StringGrid table = MakeRowTable(Measure);
    table.setCell(3, 4, "12");
    const StringGrid before = table;
    DrawCounts counts{};
    counts.fill(3);
    int calls = 0;
    const RunOutcome outcome =
        generator.run(Settings(10, 49, 6, 15), BuildDrum(board.statuses(), 49), table, counts,
                      [&](const RunProgress&) {
                          ++calls;
                          return false;
                      });
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(outcome.acceptedRows, 0);
    EXPECT_EQ(table, before);
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(calls, 0);
}

// ---- Fast against reference --------------------------------------------------------------------

// The random boards of the side-by-side tests, the same every time.
class BoardDice {
public:
    explicit BoardDice(std::uint64_t seed) : state_(seed) {}

    int below(int n) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }

    // Up to outShareBelow percent of the numbers Out, then bankShare percent bankers and 6
    // percent favoured (Fav I to III).
    Board statuses(int outShareBelow, int bankShare) {
        Board board;
        const int outShare = below(outShareBelow);
        for (int n = 1; n <= 90; ++n) {
            const int roll = below(100);
            if (roll < outShare) {
                board.setStatus(n, NumberStatus::Out);
            } else if (roll < outShare + bankShare) {
                board.setStatus(n, NumberStatus::Bank);
            } else if (roll < outShare + bankShare + 6) {
                board.setStatus(n, static_cast<NumberStatus>(2 + below(3)));
            }
        }
        return board;
    }

private:
    std::uint64_t state_;
};

// Both runs took the same decisions: outcome, yields, counts and every cell.
void ExpectSameRun(const GeneratedRun& fast, const GeneratedRun& reference,
                   const std::string& what) {
    EXPECT_EQ(fast.outcome.acceptedRows, reference.outcome.acceptedRows) << what;
    EXPECT_EQ(fast.outcome.candidates, reference.outcome.candidates) << what;
    EXPECT_EQ(fast.outcome.stopped, reference.outcome.stopped) << what;
    EXPECT_EQ(fast.yields, reference.yields) << what;
    EXPECT_EQ(fast.counts, reference.counts) << what;
    EXPECT_TRUE(fast.table == reference.table) << what;
    EXPECT_EQ(fast.seedAfter, reference.seedAfter) << what;
    EXPECT_EQ(fast.nextSeeds, reference.nextSeeds) << what;
}

// Candidates judged in batches from the first rows on, as long runs judge them.
class BatchesFromTheStart {
public:
    BatchesFromTheStart() { CongruenceIndex::setBatchFrom(CongruenceIndex::kScanBelow); }
    ~BatchesFromTheStart() { CongruenceIndex::setBatchFrom(CongruenceIndex::kBatchFrom); }
    BatchesFromTheStart(const BatchesFromTheStart&) = delete;
    BatchesFromTheStart& operator=(const BatchesFromTheStart&) = delete;
};

TEST(RowGeneratorTest, FastRunDecidesLikeTheReferenceOnRandomBoards) {
    BoardDice dice(12345);
    auto next = [&](int below) { return dice.below(below); };
    int compared = 0;
    int longRuns = 0;
    for (int boardNumber = 0; boardNumber < 160; ++boardNumber) {
        Board board = dice.statuses(60, 3);
        board.setPoolItem(next(kPoolItemCount));
        board.setRowSizeItem(next(kRowSizeItemCount) / (next(2) + 1));
        RunSettings settings =
            Settings(1 + next(400), board.poolSize(), board.rowSize(), 1 + next(kCongruenceMax),
                     static_cast<PairRule>(next(2) == 0 ? 0 : next(6)));
        const Drum drum = BuildDrum(board.statuses(), settings.poolSize);
        const std::uint64_t seed = 1000 + static_cast<std::uint64_t>(boardNumber);
        // Ends runs that stall, at the same point in both.
        const YieldCallback stop = [](const RunProgress& progress) {
            return progress.candidates >= 30000 || progress.candidatesSinceAccept >= 3000;
        };
        const GeneratedRun fast = Generate(board, settings, MixedSeeds(seed), stop, false);
        const GeneratedRun reference = Generate(board, settings, MixedSeeds(seed), stop, true);
        const std::string what = "board " + std::to_string(boardNumber);
        ASSERT_EQ(fast.outcome.refused, reference.outcome.refused) << what;
        EXPECT_EQ(fast.outcome.refused, RunRefusal(settings, drum).has_value()) << what;
        if (fast.outcome.refused) {
            continue;
        }
        ++compared;
        longRuns += fast.outcome.acceptedRows >= 100 ? 1 : 0;
        ExpectSameRun(fast, reference, what);
        ExpectConsistentTable(fast, settings, drum);
    }
    // Enough of them got far enough for the subset table to take over.
    EXPECT_GE(compared, 100);
    EXPECT_GE(longRuns, 30);
}

// Rows of 7 to 16 numbers from 49, 70 or 90, with bankers, favourites and excluded numbers, every
// pair rule, and runs the user stops: the same rows, counts and outcome as the plain comparison.
void ExpectLargeRowsDecidedLikeTheReference(std::uint64_t diceSeed) {
    BoardDice dice(diceSeed);
    auto next = [&](int below) { return dice.below(below); };
    int compared = 0;
    int stoppedByUser = 0;
    int refusingRuns = 0;
    for (int boardNumber = 0; boardNumber < 42; ++boardNumber) {
        Board board = dice.statuses(40, 2);
        board.setPoolItem(std::array{5, 10, 11}[static_cast<std::size_t>(next(3))]);
        const int rowSize = 7 + next(10);
        board.setRowSizeItem(rowSize - 3);
        const int limit = next(5) == 0 ? kCongruenceMax : 1 + next(rowSize - 2);
        const RunSettings settings = Settings(1 + next(500), board.poolSize(), rowSize, limit,
                                              static_cast<PairRule>(boardNumber % 6));
        const Drum drum = BuildDrum(board.statuses(), settings.poolSize);
        // A third of the runs the user stops after some yields; the others end or stall.
        const bool userStops = boardNumber % 3 == 0;
        const std::uint64_t stopAfter = 1 + static_cast<std::uint64_t>(next(12000));
        auto stop = [&] {
            auto calls = std::make_shared<std::uint64_t>(0);
            return YieldCallback([=](const RunProgress& progress) {
                if (userStops) {
                    return ++*calls >= stopAfter;
                }
                return progress.candidates >= 8000 || progress.candidatesSinceAccept >= 1500;
            });
        };
        const std::uint64_t seed = 90000 + static_cast<std::uint64_t>(boardNumber);
        const GeneratedRun fast = Generate(board, settings, MixedSeeds(seed), stop(), false);
        const GeneratedRun reference = Generate(board, settings, MixedSeeds(seed), stop(), true);
        const std::string what = "board " + std::to_string(boardNumber);
        ASSERT_EQ(fast.outcome.refused, reference.outcome.refused) << what;
        if (fast.outcome.refused) {
            continue;
        }
        ++compared;
        stoppedByUser += userStops && fast.outcome.stopped ? 1 : 0;
        // Candidates were refused, not just drawn and taken.
        const auto accepted = static_cast<std::uint64_t>(fast.outcome.acceptedRows);
        refusingRuns += fast.outcome.candidates > accepted + 1 ? 1 : 0;
        ExpectSameRun(fast, reference, what);
        ExpectConsistentTable(fast, settings, drum);
    }
    EXPECT_GE(compared, 35);
    EXPECT_GE(stoppedByUser, 10);
    EXPECT_GE(refusingRuns, 15);
}

TEST(RowGeneratorTest, FastRunDecidesLikeTheReferenceForLargeRows) {
    ExpectLargeRowsDecidedLikeTheReference(4711);
}

// Drawn ahead and judged together, then taken one by one: stops inside a batch, runs that end
// inside one and candidates the drum cannot complete leave the same rows, yields and seeds.
TEST(RowGeneratorTest, BatchedRunDecidesLikeTheReferenceForLargeRows) {
    const BatchesFromTheStart batches;
    ExpectLargeRowsDecidedLikeTheReference(4711);
    ExpectLargeRowsDecidedLikeTheReference(815);
}

}  // namespace
}  // namespace losfix
