#include "core/rows/Distribution.h"

#include <algorithm>

namespace losfix {

std::vector<int> FrequencyOrderOf(const DrawCounts& counts, int poolSize) {
    const int n = std::clamp(poolSize, 0, static_cast<int>(counts.size()));
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        order[static_cast<std::size_t>(k)] = k + 1;
    }
    // A stable sort keeps equal counts in ascending number order, as stepping the count down
    // from the largest one does, and needs no count to be reachable from the largest.
    std::stable_sort(order.begin(), order.end(), [&counts](int a, int b) {
        return counts[static_cast<std::size_t>(a - 1)] > counts[static_cast<std::size_t>(b - 1)];
    });
    return order;
}

}  // namespace losfix
