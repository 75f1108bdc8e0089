#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace losfix {

// The program's 32-bit linear congruential generator. The seed source is injected so that tests
// get the same rows every time; the program uses ClockSeed.
class Random {
public:
    using SeedSource = std::function<std::uint32_t()>;

    explicit Random(SeedSource source);

    // Sets the seed from the seed source (done before every candidate row), or from the oldest
    // seed given back.
    void reseed();
    // Seeds that reseed() set but that were not used, in the order they came: the next reseed()
    // calls take them again first. Lets a run draw ahead and still leave the source where drawing
    // one candidate at a time would have.
    void giveBack(const std::uint32_t* seeds, std::size_t count);
    void setSeed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t seed() const { return seed_; }

    // Advances the seed and returns a draw in [0, n): the upper 32 bits of newSeed * n.
    std::uint32_t below(std::uint32_t n) { return Below(seed_, n); }

    // The same step on a seed held elsewhere: a loop that keeps it in a local keeps it in a
    // register across calls it cannot see into.
    static std::uint32_t Below(std::uint32_t& seed, std::uint32_t n) {
        seed = seed * 134775813U + 1U;
        return static_cast<std::uint32_t>((std::uint64_t{seed} * n) >> 32);
    }

private:
    SeedSource source_;
    std::vector<std::uint32_t> givenBack_;  // the oldest last
    std::uint32_t seed_ = 0;
};

// The low 32 bits of the monotonic high-resolution clock.
std::uint32_t ClockSeed();

// A seed source for tests: returns start, start + step, start + 2*step, ...
Random::SeedSource CountingSeedSource(std::uint32_t start, std::uint32_t step = 1);

}  // namespace losfix
