#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/rows/Distribution.h"

namespace losfix {
namespace {

DrawCounts Counts(std::initializer_list<std::pair<int, int>> numberCounts) {
    DrawCounts counts{};
    for (const auto& [number, count] : numberCounts) {
        counts[static_cast<std::size_t>(number - 1)] = count;
    }
    return counts;
}

// Every number 1..poolSize once; descending counts, equal counts in ascending number order.
void ExpectFrequencyOrder(const std::vector<int>& order, const DrawCounts& counts, int poolSize) {
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(static_cast<std::size_t>(poolSize));
    std::iota(all.begin(), all.end(), 1);
    ASSERT_EQ(sorted, all);
    for (std::size_t i = 1; i < order.size(); ++i) {
        const int a = counts[static_cast<std::size_t>(order[i - 1] - 1)];
        const int b = counts[static_cast<std::size_t>(order[i] - 1)];
        EXPECT_TRUE(a > b || (a == b && order[i - 1] < order[i]))
            << "slots " << i << " and " << i + 1 << ": " << order[i - 1] << " and " << order[i];
    }
}

TEST(FrequencyOrder, Pool35WithTwoTopNumbers) {
    DrawCounts counts = Counts({{12, 9}, {30, 9}, {5, 8}, {33, 8}, {1, 2}});
    for (int n = 1; n <= 90; ++n) {
        if (counts[static_cast<std::size_t>(n - 1)] == 0) {
            counts[static_cast<std::size_t>(n - 1)] = n % 3 + 3;
        }
    }
    const std::vector<int> order = FrequencyOrderOf(counts, 35);
    ASSERT_EQ(order.size(), 35u);
    EXPECT_EQ(order[0], 12);
    EXPECT_EQ(order[1], 30);
    EXPECT_EQ(order[2], 5);
    EXPECT_EQ(order[3], 33);
    EXPECT_EQ(order.back(), 1);
    ExpectFrequencyOrder(order, counts, 35);
}

TEST(FrequencyOrder, Pool38IgnoresNumbersAboveThePool) {
    DrawCounts counts{};
    for (int n = 1; n <= 90; ++n) {
        counts[static_cast<std::size_t>(n - 1)] = n > 38 ? 100 : (n * 7) % 11;
    }
    const std::vector<int> order = FrequencyOrderOf(counts, 38);
    ASSERT_EQ(order.size(), 38u);
    ExpectFrequencyOrder(order, counts, 38);
}

TEST(FrequencyOrder, AllZeroKeepsNumericOrder) {
    const DrawCounts counts{};
    for (const int pool : {35, 49, 90}) {
        std::vector<int> numeric(static_cast<std::size_t>(pool));
        std::iota(numeric.begin(), numeric.end(), 1);
        EXPECT_EQ(FrequencyOrderOf(counts, pool), numeric) << pool;
    }
}

TEST(FrequencyOrder, WidelySpreadCounts) {
    // Counts far apart and far from zero (stepping down one by one would take long).
    DrawCounts counts = Counts({{1, 2000000000}, {2, 7}, {3, 1000000}, {4, 7}});
    EXPECT_EQ(FrequencyOrderOf(counts, 4), (std::vector<int>{1, 3, 2, 4}));
}

}  // namespace
}  // namespace losfix
