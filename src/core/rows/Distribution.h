#pragma once

#include <vector>

#include "core/lottery/RowGenerator.h"

namespace losfix {

// The numbers 1..poolSize in frequency order: descending draw count, ties in ascending number
// order. Element i is the number whose frame goes to slot i + 1.
std::vector<int> FrequencyOrderOf(const DrawCounts& counts, int poolSize);

}  // namespace losfix
