#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/lottery/CongruenceIndex.h"
#include "core/lottery/RowColumns.h"

namespace losfix {
namespace {

// Runs the body once with every instruction set this processor has, then restores the default.
template <typename Body>
void OnEveryInstructionSet(Body body) {
    const std::vector<std::string> names = RowColumns::supportedInstructionSets();
    for (const std::string& name : names) {
        ASSERT_TRUE(RowColumns::useInstructionSet(name));
        SCOPED_TRACE(name);
        body();
    }
    RowColumns::useInstructionSet(names.front());
}

std::vector<int> Shuffled(int first, int last, std::mt19937& engine) {
    std::vector<int> numbers(static_cast<std::size_t>(last - first + 1));
    std::iota(numbers.begin(), numbers.end(), first);
    std::shuffle(numbers.begin(), numbers.end(), engine);
    return numbers;
}

TEST(RowColumnsTest, FindsTheFirstBlockWithARowHoldingEnoughNumbers) {
    OnEveryInstructionSet([] {
        std::mt19937 engine(17);
        // Around the block size (512 rows) and past both growths of the columns (2048, 4096).
        for (const int rowCount : {1, 63, 64, 65, 511, 512, 513, 2049, 4500}) {
            RowColumns columns;
            std::vector<NumberSet> rows;
            for (int r = 0; r < rowCount; ++r) {
                // Any size, all of 0..95: both words of a number set and its last number.
                const std::vector<int> numbers = Shuffled(0, 95, engine);
                const int size = std::uniform_int_distribution<int>(1, 16)(engine);
                NumberSet row;
                for (int i = 0; i < size; ++i) {
                    row.add(numbers[static_cast<std::size_t>(i)]);
                }
                rows.push_back(row);
                columns.add(row);
            }
            ASSERT_EQ(columns.rowCount(), static_cast<std::size_t>(rowCount));
            const std::size_t allBlocks = (static_cast<std::size_t>(rowCount) + 511) / 512;
            for (int count = 1; count <= RowColumns::kMaxNumbers; ++count) {
                for (int query = 0; query < 8; ++query) {
                    const int threshold = std::uniform_int_distribution<int>(1, count)(engine);
                    // Half the queries take `threshold` numbers of a row late in the table, so
                    // that late blocks have hits too.
                    std::vector<int> numbers;
                    if (query % 2 == 0) {
                        const int r =
                            std::uniform_int_distribution<int>(rowCount / 2, rowCount - 1)(engine);
                        rows[static_cast<std::size_t>(r)].forEach([&](int n) {
                            if (static_cast<int>(numbers.size()) < threshold) {
                                numbers.push_back(n);
                            }
                        });
                    }
                    for (const int n : Shuffled(0, 95, engine)) {
                        if (static_cast<int>(numbers.size()) == count) {
                            break;
                        }
                        if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) {
                            numbers.push_back(n);
                        }
                    }
                    NumberSet asSet;
                    for (const int n : numbers) {
                        asSet.add(n);
                    }
                    int first = -1;
                    for (int r = 0; r < rowCount && first < 0; ++r) {
                        if (rows[static_cast<std::size_t>(r)].sharedCount(asSet) >= threshold) {
                            first = r;
                        }
                    }
                    const RowColumns::Search search =
                        columns.anyHolds(numbers.data(), count, threshold);
                    const std::string what = std::to_string(rowCount) + " rows, " +
                                             std::to_string(count) + " numbers, at least " +
                                             std::to_string(threshold);
                    ASSERT_EQ(search.found, first >= 0) << what;
                    EXPECT_EQ(search.blocks,
                              first >= 0 ? static_cast<std::size_t>(first) / 512 + 1 : allBlocks)
                        << what;
                }
            }
        }
    });
}

// Batches counted with the helper thread and without it give every candidate the answer it gets
// alone: batches of every size up to the largest, odd and even ones, rows added between batches
// (also past a growth of the columns), and enough batches that counting alone and shared take
// turns.
TEST(RowColumnsTest, BatchesGiveEachCandidateItsOwnAnswer) {
    std::mt19937 engine(29);
    for (const bool share : {true, false}) {
        SCOPED_TRACE(share ? "shared" : "alone");
        RowColumns columns;
        columns.shareWithHelper(share);
        const int count = 10;
        std::vector<int> numbers;
        std::vector<bool> expected;
        std::size_t hits = 0;
        std::size_t misses = 0;
        for (int batch = 0; batch < 3000; ++batch) {
            // Rows of 10 from 1..30: a threshold of 6 to 8 is met by some rows, not by all.
            for (int added = batch % 3; added > 0; --added) {
                const std::vector<int> pool = Shuffled(1, 30, engine);
                NumberSet row;
                for (int i = 0; i < count; ++i) {
                    row.add(pool[static_cast<std::size_t>(i)]);
                }
                columns.add(row);
            }
            const std::size_t candidates = 1 + static_cast<std::size_t>(batch % 128);
            const int threshold = 6 + batch % 3;
            numbers.assign(candidates * RowColumns::kMaxNumbers, 0);
            expected.clear();
            for (std::size_t k = 0; k < candidates; ++k) {
                const std::vector<int> pool = Shuffled(1, 30, engine);
                int* own = numbers.data() + k * RowColumns::kMaxNumbers;
                std::copy_n(pool.begin(), count, own);
                expected.push_back(columns.anyHolds(own, count, threshold).found);
            }
            bool found[128];
            std::fill(std::begin(found), std::end(found), false);
            columns.anyHoldsEach(numbers.data(), candidates, count, threshold, found);
            for (std::size_t k = 0; k < candidates; ++k) {
                ASSERT_EQ(found[k], expected[k]) << "batch " << batch << ", candidate " << k;
                ++(expected[k] ? hits : misses);
            }
        }
        EXPECT_GT(columns.rowCount(), 2048U);
        EXPECT_GT(hits, 10000U);
        EXPECT_GT(misses, 10000U);
    }
}

// The helper sleeps after a pause between batches. Woken by the next batch it answers again, and
// the columns end whether it is asleep, spinning or just woken (a lost wake would keep the end
// waiting for it).
TEST(RowColumnsTest, HelperAnswersAfterSleepingAndEndsInEveryState) {
    std::mt19937 engine(31);
    const int count = 8;
    for (int round = 0; round < 48; ++round) {
        RowColumns columns;
        columns.shareWithHelper(true);
        for (int r = 0; r < 700; ++r) {
            const std::vector<int> pool = Shuffled(1, 24, engine);
            NumberSet row;
            for (int i = 0; i < count; ++i) {
                row.add(pool[static_cast<std::size_t>(i)]);
            }
            columns.add(row);
        }
        const std::vector<int> pauses = {0, 20, 400, 3000};  // microseconds
        for (int batch = 0; batch <= round % 4; ++batch) {
            std::vector<int> numbers(16 * RowColumns::kMaxNumbers, 0);
            bool expected[16];
            for (std::size_t k = 0; k < 16; ++k) {
                int* own = numbers.data() + k * RowColumns::kMaxNumbers;
                const std::vector<int> pool = Shuffled(1, 24, engine);
                std::copy_n(pool.begin(), count, own);
                expected[k] = columns.anyHolds(own, count, 6).found;
            }
            bool found[16] = {};
            columns.anyHoldsEach(numbers.data(), 16, count, 6, found);
            for (std::size_t k = 0; k < 16; ++k) {
                ASSERT_EQ(found[k], expected[k]) << "round " << round << ", candidate " << k;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(
                pauses[static_cast<std::size_t>((round / 4 + batch) % 4)]));
        }
    }
}

TEST(RowColumnsTest, EmptyAndClearedColumnsHoldNothing) {
    RowColumns columns;
    const int numbers[] = {1, 2, 3};
    EXPECT_FALSE(columns.anyHolds(numbers, 3, 1).found);
    NumberSet row;
    row.add(1);
    row.add(2);
    columns.add(row);
    EXPECT_TRUE(columns.anyHolds(numbers, 3, 2).found);
    EXPECT_FALSE(columns.anyHolds(numbers, 3, 3).found);
    columns.clear();
    EXPECT_EQ(columns.rowCount(), 0U);
    EXPECT_FALSE(columns.anyHolds(numbers, 3, 1).found);
    columns.add(row);
    EXPECT_TRUE(columns.anyHolds(numbers, 3, 1).found);
}

TEST(RowColumnsTest, InstructionSetsCanBeChosenAmongTheSupportedOnes) {
    const std::vector<std::string> names = RowColumns::supportedInstructionSets();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(RowColumns::instructionSet(), names.front());
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    // SSE2 belongs to every x86-64 processor; it comes last, the widest first.
    EXPECT_EQ(names.back(), "SSE2");
#endif
    EXPECT_FALSE(RowColumns::useInstructionSet("MMX"));
    EXPECT_EQ(RowColumns::instructionSet(), names.front());
    ASSERT_TRUE(RowColumns::useInstructionSet(names.back()));
    EXPECT_EQ(RowColumns::instructionSet(), names.back());
    RowColumns::useInstructionSet(names.front());
}

// ---- The subset table --------------------------------------------------------------------------

template <typename Key, typename Make>
void ExpectEveryKeyFoundWhileGrowing(Make make) {
    KeyTable<Key> table;
    EXPECT_TRUE(table.empty());
    std::vector<Key> keys;
    std::mt19937_64 engine(5);
    bool sawGrowing = false;
    for (int i = 0; i < 60000; ++i) {
        keys.push_back(make(engine));
        table.insert(keys.back());
        if (table.growing()) {
            sawGrowing = true;
            // While the keys move over, both halves answer: check a sample every time.
            const Key& sample = keys[static_cast<std::size_t>(engine() % keys.size())];
            ASSERT_TRUE(table.contains(sample, table.slotOf(sample))) << i;
        }
    }
    EXPECT_TRUE(sawGrowing);
    EXPECT_FALSE(table.empty());
    for (const Key& key : keys) {
        ASSERT_TRUE(table.contains(key, table.slotOf(key)));
    }
    int strangers = 0;
    for (int i = 0; i < 20000; ++i) {
        const Key key = make(engine);
        strangers += table.contains(key, table.slotOf(key)) ? 1 : 0;
    }
    EXPECT_EQ(strangers, 0);
    // Inserting a key again adds nothing.
    const std::size_t capacity = table.capacity();
    for (int i = 0; i < 1000; ++i) {
        table.insert(keys[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(table.capacity(), capacity);
    table.clear();
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(table.contains(keys.front(), 0));
}

TEST(KeyTableTest, GrowsGraduallyAndFindsEveryKey) {
    ExpectEveryKeyFoundWhileGrowing<std::uint64_t>(
        [](std::mt19937_64& engine) { return engine() | 1U; });
    ExpectEveryKeyFoundWhileGrowing<WideKey>([](std::mt19937_64& engine) {
        WideKey key;
        key.low = engine();
        key.high = static_cast<std::uint32_t>(engine()) | 1U;
        return key;
    });
}

TEST(KeyTableTest, ReservedRoomNeedsNoGrowth) {
    KeyTable<std::uint64_t> table;
    table.reserve(5000);
    const std::size_t capacity = table.capacity();
    EXPECT_GE(capacity, 10000U);
    for (std::uint64_t key = 1; key <= 5000; ++key) {
        table.insert(key * 0x9E3779B97F4A7C15ULL);
        ASSERT_FALSE(table.growing());
    }
    EXPECT_EQ(table.capacity(), capacity);
}

}  // namespace
}  // namespace losfix
