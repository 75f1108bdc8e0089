#include "core/common/Random.h"

#include <chrono>
#include <memory>
#include <utility>

namespace losfix {

Random::Random(SeedSource source) : source_(std::move(source)) {}

void Random::reseed() {
    if (!givenBack_.empty()) {
        seed_ = givenBack_.back();
        givenBack_.pop_back();
        return;
    }
    seed_ = source_ ? source_() : ClockSeed();
}

void Random::giveBack(const std::uint32_t* seeds, std::size_t count) {
    // They came before any seed given back earlier and not yet taken again.
    for (std::size_t i = count; i-- > 0;) {
        givenBack_.push_back(seeds[i]);
    }
}

std::uint32_t ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks));
}

Random::SeedSource CountingSeedSource(std::uint32_t start, std::uint32_t step) {
    auto next = std::make_shared<std::uint32_t>(start);
    return [next, step] {
        const std::uint32_t value = *next;
        *next += step;
        return value;
    };
}

}  // namespace losfix
