#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/lottery/CongruenceIndex.h"
#include "core/lottery/RowColumns.h"
#include "core/lottery/RowGenerator.h"

namespace losfix {
namespace {

NumberSet Set(std::initializer_list<int> numbers) {
    NumberSet set;
    for (const int n : numbers) {
        set.add(n);
    }
    return set;
}

// ---- Boundaries --------------------------------------------------------------------------------

// Weights of the table's cost: as estimated, or making the table or the columns the cheaper way
// for every candidate.
constexpr double kAsEstimated = 1;
constexpr double kTableFirst = 0;
constexpr double kColumnsOnly = 1e300;

// An index that already compared enough rows to keep its table; the rows use only 40..95.
CongruenceIndex Prefilled(int rowSize, int limit, double tableWeight = kTableFirst) {
    CongruenceIndex index(rowSize, limit, NumberSet{}, tableWeight);
    std::mt19937 engine(99);
    std::vector<int> numbers(56);
    std::iota(numbers.begin(), numbers.end(), 40);
    while (!index.indexed()) {
        std::shuffle(numbers.begin(), numbers.end(), engine);
        NumberSet row;
        for (int i = 0; i < rowSize; ++i) {
            row.add(numbers[static_cast<std::size_t>(i)]);
        }
        index.admit(row);
    }
    return index;
}

template <typename Check>
void ExpectLimit4Boundary(Check check) {
    const std::size_t before = check.rowCount();
    EXPECT_TRUE(check.admit(Set({1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(check.admit(Set({1, 2, 3, 4, 10, 11})));    // shares 4
    EXPECT_FALSE(check.admit(Set({1, 2, 3, 4, 5, 20})));    // shares 5 with the first
    EXPECT_FALSE(check.admit(Set({1, 2, 3, 4, 5, 6})));     // identical
    EXPECT_FALSE(check.admit(Set({2, 3, 4, 10, 11, 30})));  // shares 5 with the second
    EXPECT_TRUE(check.admit(Set({2, 3, 4, 5, 10, 30})));    // 4 with the first, 4 with the second
    EXPECT_EQ(check.rowCount(), before + 3);
}

TEST(CongruenceTest, SharingTheLimitPassesOneMoreFails) {
    ExpectLimit4Boundary(CongruenceScan(6, 4));
    ExpectLimit4Boundary(CongruenceIndex(6, 4, NumberSet{}));
    ExpectLimit4Boundary(Prefilled(6, 4));
    ExpectLimit4Boundary(Prefilled(6, 4, kColumnsOnly));
}

template <typename Check>
void ExpectOnlyIdenticalRowsFail(Check check) {
    const std::size_t before = check.rowCount();
    EXPECT_TRUE(check.admit(Set({1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(check.admit(Set({1, 2, 3, 4, 5, 7})));
    EXPECT_FALSE(check.admit(Set({1, 2, 3, 4, 5, 7})));
    EXPECT_FALSE(check.admit(Set({1, 2, 3, 4, 5, 6})));
    EXPECT_EQ(check.rowCount(), before + 2);
}

TEST(CongruenceTest, WithTheSwitchOffOnlyIdenticalRowsFail) {
    // Row size 6 with limit 5: 6 - 2 < 5, the switch is off.
    EXPECT_FALSE(CongruenceSwitchOn(6, 5));
    EXPECT_TRUE(CongruenceSwitchOn(6, 4));
    EXPECT_FALSE(CongruenceSwitchOn(16, kCongruenceMax));
    for (const int limit : {5, 15}) {
        ExpectOnlyIdenticalRowsFail(CongruenceScan(6, limit));
        ExpectOnlyIdenticalRowsFail(CongruenceIndex(6, limit, NumberSet{}));
        ExpectOnlyIdenticalRowsFail(Prefilled(6, limit));
        ExpectOnlyIdenticalRowsFail(Prefilled(6, limit, kColumnsOnly));
    }
}

TEST(CongruenceTest, BankersCountAsSharedNumbers) {
    const NumberSet bankers = Set({40, 41});
    CongruenceIndex index(6, 3, bankers);
    EXPECT_TRUE(index.admit(Set({40, 41, 1, 2, 3, 4})));
    EXPECT_TRUE(index.admit(Set({40, 41, 1, 5, 6, 7})));   // shares 3
    EXPECT_FALSE(index.admit(Set({40, 41, 1, 2, 8, 9})));  // shares 4
}

TEST(CongruenceTest, LimitBelowTheBankersAdmitsOnlyTheFirstRow) {
    const NumberSet bankers = Set({1, 2, 3});
    CongruenceIndex index(6, 2, bankers);
    CongruenceScan scan(6, 2);
    EXPECT_TRUE(index.admit(Set({1, 2, 3, 10, 20, 30})));
    EXPECT_TRUE(scan.admit(Set({1, 2, 3, 10, 20, 30})));
    EXPECT_FALSE(index.admit(Set({1, 2, 3, 11, 21, 31})));
    EXPECT_FALSE(scan.admit(Set({1, 2, 3, 11, 21, 31})));
    EXPECT_EQ(index.rowCount(), 1U);
}

// ---- The index against the scan ----------------------------------------------------------------

struct Shape {
    int pool;
    int rowSize;
    int bankers;
    int limit;
};

// How often each way judged a candidate.
struct MethodsUsed {
    int columns = 0;
    int table = 0;
    int other = 0;
};

// Feeds the same random rows (bankers + random others) to both and compares every decision.
void CompareOnRandomRows(const Shape& shape, std::uint32_t seed, int rows, bool& usedIndex,
                         double tableWeight = kAsEstimated, MethodsUsed* methods = nullptr) {
    std::mt19937 engine(seed);
    std::vector<int> numbers(static_cast<std::size_t>(shape.pool));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), engine);
    NumberSet bankers;
    for (int i = 0; i < shape.bankers; ++i) {
        bankers.add(numbers[static_cast<std::size_t>(i)]);
    }
    std::vector<int> others(numbers.begin() + shape.bankers, numbers.end());

    CongruenceIndex index(shape.rowSize, shape.limit, bankers, tableWeight);
    CongruenceScan scan(shape.rowSize, shape.limit);
    int admitted = 0;
    for (int i = 0; i < rows; ++i) {
        std::shuffle(others.begin(), others.end(), engine);
        NumberSet row = bankers;
        for (int j = 0; j < shape.rowSize - shape.bankers; ++j) {
            row.add(others[static_cast<std::size_t>(j)]);
        }
        const bool expected = scan.admit(row);
        ASSERT_EQ(index.admit(row), expected)
            << "pool " << shape.pool << " k " << shape.rowSize << " b " << shape.bankers << " L "
            << shape.limit << " row " << i;
        admitted += expected ? 1 : 0;
        if (methods != nullptr) {
            const CongruenceIndex::Method method = index.lastMethod();
            ++(method == CongruenceIndex::Method::Columns ? methods->columns
               : method == CongruenceIndex::Method::Table ? methods->table
                                                          : methods->other);
        }
    }
    // Both keep exactly the rows they admitted.
    EXPECT_EQ(scan.rowCount(), static_cast<std::size_t>(admitted));
    EXPECT_EQ(index.rowCount(), scan.rowCount());
    usedIndex = usedIndex || index.indexed();
}

TEST(CongruenceTest, IndexDecidesLikeTheScanOnRandomRows) {
    const std::vector<Shape> shapes = {
        {49, 6, 0, 4},   {49, 6, 0, 3},  {49, 6, 0, 2},   {35, 3, 0, 1}, {35, 6, 0, 15},
        {20, 6, 0, 5},   {38, 7, 2, 4},  {90, 10, 2, 6},  {45, 8, 3, 5}, {35, 16, 0, 14},
        {42, 16, 4, 13}, {39, 12, 0, 2}, {90, 16, 0, 15}, {50, 9, 1, 6}, {60, 11, 10, 10},
        {35, 5, 2, 1},   {54, 4, 1, 2},
    };
    bool usedIndex = false;
    std::uint32_t seed = 7;
    for (const Shape& shape : shapes) {
        CompareOnRandomRows(shape, seed++, 3000, usedIndex);
    }
    EXPECT_TRUE(usedIndex);

    // And a few hundred shapes drawn at random.
    std::mt19937 engine(2024);
    for (int i = 0; i < 300; ++i) {
        Shape shape;
        shape.pool = std::uniform_int_distribution<int>(12, 90)(engine);
        shape.rowSize = std::uniform_int_distribution<int>(3, 16)(engine);
        shape.bankers = std::uniform_int_distribution<int>(0, shape.rowSize - 1)(engine) / 2;
        shape.limit = std::uniform_int_distribution<int>(1, 15)(engine);
        if (shape.pool < shape.rowSize + 2) {
            continue;
        }
        CompareOnRandomRows(shape, seed++, 600, usedIndex);
    }
}

TEST(CongruenceTest, LargeRowsAreJudgedLikeTheScanEveryWay) {
    std::mt19937 engine(2025);
    int seed = 500;
    MethodsUsed methods;
    for (int rowSize = 7; rowSize <= 16; ++rowSize) {
        for (int i = 0; i < 4; ++i) {
            Shape shape;
            shape.pool = std::array{49, 70, 90}[static_cast<std::size_t>(i % 3)];
            shape.rowSize = rowSize;
            shape.bankers = std::uniform_int_distribution<int>(0, 3)(engine) * (i % 2);
            // Every limit that turns the switch on, and sometimes none ("egal").
            shape.limit = i == 3 ? kCongruenceMax
                                 : std::uniform_int_distribution<int>(1, rowSize - 2)(engine);
            bool usedIndex = false;
            for (const double cost : {kAsEstimated, kTableFirst, kColumnsOnly}) {
                CompareOnRandomRows(shape, static_cast<std::uint32_t>(seed++), 400, usedIndex, cost,
                                    &methods);
            }
        }
    }
    // Both ways judged enough candidates to have been tried; the scan only starts after rows of
    // another shape (see OddRowsHandTheJudgingToTheScan).
    EXPECT_GT(methods.columns, 10000);
    EXPECT_GT(methods.table, 1000);
}

TEST(CongruenceTest, LargeRowsAreJudgedLikeTheScanOnEveryInstructionSet) {
    const std::vector<std::string> names = RowColumns::supportedInstructionSets();
    bool usedIndex = false;
    std::uint32_t seed = 900;
    for (const std::string& name : names) {
        ASSERT_TRUE(RowColumns::useInstructionSet(name));
        for (const Shape& shape : {Shape{90, 16, 0, 12}, Shape{70, 11, 2, 6}, Shape{49, 10, 0, 5},
                                   Shape{90, 12, 1, 15}, Shape{49, 7, 0, 4}}) {
            CompareOnRandomRows(shape, seed++, 1200, usedIndex, kColumnsOnly);
        }
    }
    RowColumns::useInstructionSet(names.front());
}

TEST(CongruenceTest, ColumnsThatRestedCatchUpWithTheRows) {
    // 7 of 24, at most 4 shared: C(7, 5) = 21 subsets a row. The table, made very cheap, sends
    // the columns to rest while most candidates pass; once few pass, the columns judge again.
    std::mt19937 engine(11);
    CongruenceIndex index(7, 4, NumberSet{}, 0.01);
    CongruenceScan scan(7, 4);
    std::vector<int> numbers(24);
    std::iota(numbers.begin(), numbers.end(), 1);
    int rested = 0;
    int wokeUp = 0;
    int columnsAfterRest = 0;
    bool resting = false;
    for (int i = 0; i < 6000; ++i) {
        std::shuffle(numbers.begin(), numbers.end(), engine);
        NumberSet row;
        for (int j = 0; j < 7; ++j) {
            row.add(numbers[static_cast<std::size_t>(j)]);
        }
        ASSERT_EQ(index.admit(row), scan.admit(row)) << i;
        if (index.columnsResting() != resting) {
            resting = index.columnsResting();
            ++(resting ? rested : wokeUp);
        }
        if (wokeUp > 0 && index.lastMethod() == CongruenceIndex::Method::Columns) {
            ++columnsAfterRest;
        }
    }
    EXPECT_EQ(index.rowCount(), scan.rowCount());
    EXPECT_GE(rested, 1);
    EXPECT_GE(wokeUp, 1);
    EXPECT_GT(columnsAfterRest, 10);
}

TEST(CongruenceTest, OddRowsHandTheJudgingToTheScan) {
    // Rows without a banker or of another size: the columns and the table cannot hold them.
    const NumberSet bankers = Set({7, 70});
    for (const double cost : {kTableFirst, kColumnsOnly}) {
        // Seven free numbers, five of them shared are too many: C(7, 5) = 21 subsets a row.
        CongruenceIndex index(9, 6, bankers, cost);
        CongruenceScan scan(9, 6);
        std::mt19937 engine(3);
        std::vector<int> others;
        for (int n = 1; n <= 90; ++n) {
            if (!bankers.contains(n)) {
                others.push_back(n);
            }
        }
        auto row = [&](int size, bool withBankers) {
            std::shuffle(others.begin(), others.end(), engine);
            NumberSet set = withBankers ? bankers : NumberSet{};
            for (int j = 0; set.count() < size; ++j) {
                set.add(others[static_cast<std::size_t>(j)]);
            }
            return set;
        };
        for (int i = 0; i < 600; ++i) {
            const NumberSet candidate =
                i == 300 ? row(9, false) : (i == 450 ? row(8, true) : row(9, true));
            ASSERT_EQ(index.admit(candidate), scan.admit(candidate)) << i;
            if (i == 299) {
                EXPECT_TRUE(index.indexed());
                EXPECT_EQ(index.lastMethod(), cost == kTableFirst
                                                  ? CongruenceIndex::Method::Table
                                                  : CongruenceIndex::Method::Columns);
            }
            if (i >= 300) {
                EXPECT_EQ(index.lastMethod(), CongruenceIndex::Method::Scan) << i;
                EXPECT_FALSE(index.indexed());
            }
        }
        EXPECT_EQ(index.rowCount(), scan.rowCount());
    }
}

// Batches judged against the rows before them, then admitted in order, decide like the scan: also
// a candidate whose twin comes earlier in the same batch, one equal to an earlier candidate of the
// batch, and sets of another shape in a batch (they end the columns for good).
TEST(CongruenceTest, BatchesJudgedAheadDecideLikeTheScan) {
    const NumberSet bankers = Set({5});
    // Twelve free numbers of 1..40, more than 8 shared (bankers included) are too many.
    CongruenceIndex index(13, 8, bankers);
    CongruenceScan scan(13, 8);
    ASSERT_FALSE(index.indexable());
    std::mt19937 engine(41);
    std::vector<int> others;
    for (int n = 1; n <= 40; ++n) {
        if (n != 5) {
            others.push_back(n);
        }
    }
    auto row = [&](bool shaped) {
        std::shuffle(others.begin(), others.end(), engine);
        NumberSet set = shaped ? bankers : NumberSet{};
        for (int j = 0; set.count() < 13; ++j) {
            set.add(others[static_cast<std::size_t>(j)]);
        }
        return set;
    };
    int refusedWithinBatch = 0;
    std::vector<NumberSet> batch;
    std::vector<CongruenceIndex::Verdict> verdicts;
    for (int round = 0; round < 400; ++round) {
        batch.clear();
        for (int k = 0; k < 12; ++k) {
            NumberSet candidate = row(round != 300 || k != 4);
            if (k % 4 == 3) {
                // The previous candidate with one free number swapped: its twin.
                candidate = batch.back();
                const auto free = std::find_if(others.begin(), others.end(),
                                               [&](int n) { return candidate.contains(n); });
                const auto unused = std::find_if(others.begin(), others.end(),
                                                 [&](int n) { return !candidate.contains(n); });
                candidate.remove(*free);
                candidate.add(*unused);
            } else if (k % 6 == 5) {
                candidate = batch.front();
            }
            batch.push_back(candidate);
        }
        verdicts.assign(batch.size(), CongruenceIndex::Verdict::Unjudged);
        index.judge(batch.data(), batch.size(), verdicts.data());
        for (std::size_t k = 0; k < batch.size(); ++k) {
            const bool expected = scan.admit(batch[k]);
            ASSERT_EQ(index.admit(batch[k], verdicts[k]), expected) << round << " " << k;
            refusedWithinBatch +=
                !expected && verdicts[k] == CongruenceIndex::Verdict::Clear ? 1 : 0;
        }
        if (round == 299) {
            EXPECT_EQ(index.lastMethod(), CongruenceIndex::Method::Columns);
        }
    }
    EXPECT_EQ(index.rowCount(), scan.rowCount());
    EXPECT_EQ(index.lastMethod(), CongruenceIndex::Method::Scan);
    EXPECT_GT(refusedWithinBatch, 100);
}

// Within the columns' first block the scan judges where it stops early, as when nearly every
// candidate fails, and the columns where it would compare with most rows; past that block the
// scan never judges. The crossover depends on what a block costs with each instruction set.
TEST(CongruenceTest, WithinTheFirstBlockTheCheaperOfScanAndColumnsJudges) {
    struct Case {
        int limit;
        int candidates;
        bool scanExpected;
    };
    const std::vector<std::string> names = RowColumns::supportedInstructionSets();
    for (const std::string& name : names) {
        ASSERT_TRUE(RowColumns::useInstructionSet(name));
        // The rows an accepted candidate's scan compares, past which the block costs less; the
        // running mean follows the growing row count some 32 rows behind.
        const double crossover =
            (CongruenceIndex::kColumnsFixedCost + 16 * RowColumns::blockCost()) /
            CongruenceIndex::kScanRowCost;
        const auto columnsFrom = static_cast<std::size_t>(crossover) + 64;
        ASSERT_LT(columnsFrom + 200, RowColumns::kRowsPerBlock) << name;
        // 16 of 90: at most 5 shared ends near 270 rows, at most 12 shared takes nearly every row.
        for (const Case& test : {Case{5, 20000, true}, Case{12, 800, false}}) {
            CongruenceIndex index(16, test.limit, NumberSet{});
            CongruenceScan scan(16, test.limit);
            std::mt19937 engine(static_cast<std::uint32_t>(test.limit));
            std::vector<int> numbers(90);
            std::iota(numbers.begin(), numbers.end(), 1);
            const std::size_t from =
                test.scanExpected ? CongruenceIndex::kScanBelow + 16 : columnsFrom;
            int scanned = 0;
            int counted = 0;
            int scannedPastBlock = 0;
            for (int i = 0; i < test.candidates; ++i) {
                std::shuffle(numbers.begin(), numbers.end(), engine);
                NumberSet row;
                for (int j = 0; j < 16; ++j) {
                    row.add(numbers[static_cast<std::size_t>(j)]);
                }
                const std::size_t rowsBefore = index.rowCount();
                ASSERT_EQ(index.admit(row), scan.admit(row))
                    << name << " " << test.limit << " " << i;
                const bool byScan = index.lastMethod() == CongruenceIndex::Method::Scan;
                if (rowsBefore >= from && rowsBefore < RowColumns::kRowsPerBlock) {
                    ++(byScan ? scanned : counted);
                }
                scannedPastBlock += rowsBefore >= RowColumns::kRowsPerBlock && byScan ? 1 : 0;
            }
            EXPECT_EQ(index.rowCount(), scan.rowCount());
            const int judged = scanned + counted;
            ASSERT_GT(judged, 200) << name << " " << test.limit << " rows " << index.rowCount();
            EXPECT_GT(test.scanExpected ? scanned : counted, judged * 9 / 10)
                << name << " " << test.limit;
            EXPECT_EQ(scannedPastBlock, 0) << name << " " << test.limit;
        }
    }
    RowColumns::useInstructionSet(names.front());
}

TEST(CongruenceTest, IndexIsUsedOnlyForFewSubsetsPerRow) {
    EXPECT_TRUE(CongruenceIndex(6, 4, NumberSet{}).indexable());    // C(6,5) = 6
    EXPECT_TRUE(CongruenceIndex(6, 15, NumberSet{}).indexable());   // whole rows
    EXPECT_FALSE(CongruenceIndex(16, 7, NumberSet{}).indexable());  // C(16,8) = 12870
    EXPECT_FALSE(CongruenceIndex(10, 6, Set({1, 2})).indexable());  // C(8,5) = 56
    EXPECT_TRUE(CongruenceIndex(9, 6, Set({1, 2})).indexable());    // C(7,5) = 21
}

// ---- Run ceiling -------------------------------------------------------------------------------

std::uint64_t Binomial(int n, int k) {
    std::uint64_t result = 1;
    for (int i = 1; i <= k; ++i) {
        result = result * static_cast<std::uint64_t>(n - k + i) / static_cast<std::uint64_t>(i);
    }
    return result;
}

TEST(RunCeilingTest, KnownJohnsonBounds) {
    EXPECT_EQ(RunCeiling(49, 6, 0, 1), 73U);
    EXPECT_EQ(RunCeiling(49, 6, 0, 2), 857U);
    EXPECT_EQ(RunCeiling(49, 7, 0, 1), 56U);
    // Triples sharing at most one number among 7: the Fano plane, 7 lines.
    EXPECT_EQ(RunCeiling(7, 3, 0, 1), 7U);
    // Disjoint rows.
    EXPECT_EQ(RunCeiling(49, 6, 0, 0), 8U);
}

TEST(RunCeilingTest, BankersShiftTheProblem) {
    EXPECT_EQ(RunCeiling(52, 9, 3, 4), RunCeiling(49, 6, 0, 1));
    EXPECT_EQ(RunCeiling(51, 8, 2, 4), RunCeiling(49, 6, 0, 2));
    EXPECT_EQ(RunCeiling(49, 6, 3, 2), 1U);  // three bankers, limit 2
    EXPECT_EQ(RunCeiling(49, 6, 1, 0), 1U);
}

TEST(RunCeilingTest, SwitchOffCountsDistinctRows) {
    EXPECT_EQ(RunCeiling(49, 6, 0, 15), 13983816U);
    EXPECT_EQ(RunCeiling(49, 6, 0, 5), 13983816U);
    EXPECT_EQ(RunCeiling(49, 6, 2, 5), Binomial(47, 4));
    EXPECT_EQ(RunCeiling(90, 16, 0, 15), Binomial(90, 16));
    EXPECT_EQ(RunCeiling(8, 6, 0, 15), 28U);
}

TEST(RunCeilingTest, ImpossibleRowsGiveZero) {
    EXPECT_EQ(RunCeiling(5, 6, 0, 15), 0U);
    EXPECT_EQ(RunCeiling(10, 6, 6, 4), 0U);  // bankers fill the row
    EXPECT_EQ(RunCeiling(10, 6, 7, 4), 0U);
    EXPECT_EQ(RunCeiling(0, 3, 0, 1), 0U);
}

TEST(RunCeilingTest, LargeCasesStayExactAndBounded) {
    std::uint64_t previous = 0;
    for (int limit = 0; limit <= 14; ++limit) {
        const std::uint64_t ceiling = RunCeiling(90, 16, 0, limit);
        EXPECT_GT(ceiling, previous) << limit;
        EXPECT_LE(ceiling, Binomial(90, 16));
        previous = ceiling;
    }
    // J(90,16,14) = floor(90/16 * ... * floor(76/2)) by the recursion, computed step by step.
    std::uint64_t johnson = 76 / 2;
    for (int i = 13; i >= 0; --i) {
        johnson = johnson * static_cast<std::uint64_t>(90 - i) / static_cast<std::uint64_t>(16 - i);
    }
    EXPECT_EQ(RunCeiling(90, 16, 0, 14), johnson);
}

}  // namespace
}  // namespace losfix
