#pragma once

#include <cstdint>

#include "core/common/NumberSet.h"

namespace losfix::eval {

// xoshiro256** seeded through splitmix64: the generator behind the sampled odds. The program's
// own 32-bit generator repeats far too soon for millions of draws.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, n) without bias (Lemire's multiply and reject).
    std::uint32_t below(std::uint32_t n) {
        std::uint64_t x = next() >> 32;
        std::uint64_t m = x * n;
        auto low = static_cast<std::uint32_t>(m);
        if (low < n) {
            const std::uint32_t threshold = (0U - n) % n;
            while (low < threshold) {
                x = next() >> 32;
                m = x * n;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

    // `size` distinct numbers of 1..poolSize, every such set equally likely (Floyd's method).
    NumberSet draw(int poolSize, int size) {
        NumberSet set;
        for (int j = poolSize - size + 1; j <= poolSize; ++j) {
            const int t = 1 + static_cast<int>(below(static_cast<std::uint32_t>(j)));
            set.add(set.contains(t) ? j : t);
        }
        return set;
    }

private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4];
};

}  // namespace losfix::eval
