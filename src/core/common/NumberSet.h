#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace losfix {

// A set of the integers 0 to 95 in 96 bits: rows, bankers and pairs of the generator.
class NumberSet {
public:
    static constexpr int kCapacity = 96;

    constexpr NumberSet() = default;

    // The set of the given bits; bits past 95 are dropped.
    static constexpr NumberSet FromBits(std::uint64_t low, std::uint32_t high) {
        NumberSet set;
        set.low_ = low;
        set.high_ = high;
        return set;
    }

    constexpr void add(int n) {
        if (n < 0 || n >= kCapacity) {
            return;
        }
        if (n < 64) {
            low_ |= std::uint64_t{1} << n;
        } else {
            high_ |= std::uint32_t{1} << (n - 64);
        }
    }

    constexpr void remove(int n) {
        if (n < 0 || n >= kCapacity) {
            return;
        }
        if (n < 64) {
            low_ &= ~(std::uint64_t{1} << n);
        } else {
            high_ &= ~(std::uint32_t{1} << (n - 64));
        }
    }

    constexpr bool contains(int n) const {
        if (n < 0 || n >= kCapacity) {
            return false;
        }
        return n < 64 ? ((low_ >> n) & 1U) != 0 : ((high_ >> (n - 64)) & 1U) != 0;
    }

    constexpr int count() const { return std::popcount(low_) + std::popcount(high_); }
    constexpr bool empty() const { return low_ == 0 && high_ == 0; }

    constexpr NumberSet intersection(const NumberSet& other) const {
        NumberSet result;
        result.low_ = low_ & other.low_;
        result.high_ = high_ & other.high_;
        return result;
    }

    constexpr NumberSet united(const NumberSet& other) const {
        NumberSet result;
        result.low_ = low_ | other.low_;
        result.high_ = high_ | other.high_;
        return result;
    }

    // Size of the intersection without building it.
    constexpr int sharedCount(const NumberSet& other) const {
        return std::popcount(low_ & other.low_) + std::popcount(high_ & other.high_);
    }

    constexpr bool operator==(const NumberSet&) const = default;

    constexpr std::uint64_t lowBits() const { return low_; }
    constexpr std::uint32_t highBits() const { return high_; }

    // Calls f(n) for every member in ascending order.
    template <typename F>
    constexpr void forEach(F&& f) const {
        for (std::uint64_t bits = low_; bits != 0; bits &= bits - 1) {
            f(std::countr_zero(bits));
        }
        for (std::uint32_t bits = high_; bits != 0; bits &= bits - 1) {
            f(64 + std::countr_zero(bits));
        }
    }

    std::size_t hash() const {
        std::uint64_t h = low_ * 0x9E3779B97F4A7C15ULL;
        h ^= (std::uint64_t{high_} + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
        h ^= h >> 29;
        return static_cast<std::size_t>(h);
    }

private:
    std::uint64_t low_ = 0;
    std::uint32_t high_ = 0;
};

}  // namespace losfix

template <>
struct std::hash<losfix::NumberSet> {
    std::size_t operator()(const losfix::NumberSet& set) const noexcept { return set.hash(); }
};
