#include "core/lottery/CongruenceIndex.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace losfix {

namespace {

bool SwitchOn(int rowSize, int limit) {
    return rowSize - 2 >= limit;
}

std::size_t SubsetCount(int n, int t) {
    if (t < 0 || t > n) {
        return 0;
    }
    t = std::min(t, n - t);
    std::size_t result = 1;
    for (int i = 1; i <= t; ++i) {
        result = result * static_cast<std::size_t>(n - t + i) / static_cast<std::size_t>(i);
    }
    return result;
}

bool IsZero(std::uint64_t key) {
    return key == 0;
}
bool IsZero(const WideKey& key) {
    return key.low == 0 && key.high == 0;
}

std::uint64_t Mix(std::uint64_t key) {
    key ^= key >> 33;
    key *= 0xFF51AFD7ED558CCDULL;
    key ^= key >> 33;
    key *= 0xC4CEB9FE1A85EC53ULL;
    key ^= key >> 33;
    return key;
}

std::uint64_t Mix(const WideKey& key) {
    return Mix(key.low ^ (std::uint64_t{key.high} * 0x9E3779B97F4A7C15ULL));
}

}  // namespace

CongruenceScan::CongruenceScan(int rowSize, int limit)
    : switchOn_(SwitchOn(rowSize, limit)), limit_(limit) {}

bool CongruenceScan::admit(const NumberSet& candidate) {
    for (const NumberSet& row : rows_) {
        if (row == candidate) {
            return false;
        }
        if (switchOn_ && row.sharedCount(candidate) > limit_) {
            return false;
        }
    }
    rows_.push_back(candidate);
    return true;
}

template <typename Key>
std::size_t KeyTable<Key>::slotOf(const Key& key) const {
    return static_cast<std::size_t>(Mix(key) >> (64 - bits_));
}

template <typename Key>
void KeyTable<Key>::prefetch([[maybe_unused]] std::size_t slot) const {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(&slots_[slot]);
#endif
}

template <typename Key>
bool KeyTable<Key>::contains(const Key& key, std::size_t slot) const {
    const std::size_t mask = slots_.size() - 1;
    for (;; slot = (slot + 1) & mask) {
        const Key& stored = slots_[slot];
        if (stored == key) {
            return true;
        }
        if (IsZero(stored)) {
            return false;
        }
    }
}

template <typename Key>
void KeyTable<Key>::insert(const Key& key) {
    if (2 * (used_ + 1) > slots_.size()) {
        grow(std::max<std::size_t>(2 * slots_.size(), 1024));
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = slotOf(key);; slot = (slot + 1) & mask) {
        Key& stored = slots_[slot];
        if (stored == key) {
            return;
        }
        if (IsZero(stored)) {
            stored = key;
            ++used_;
            return;
        }
    }
}

template <typename Key>
void KeyTable<Key>::reserve(std::size_t keys) {
    std::size_t capacity = 1024;
    while (capacity < 2 * keys) {
        capacity *= 2;
    }
    grow(capacity);
}

template <typename Key>
void KeyTable<Key>::clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    used_ = 0;
    bits_ = 0;
}

template <typename Key>
void KeyTable<Key>::grow(std::size_t capacity) {
    if (capacity <= slots_.size()) {
        return;
    }
    std::vector<Key> old = std::move(slots_);
    slots_.assign(capacity, Key{});
    bits_ = std::countr_zero(capacity);
    used_ = 0;
    for (const Key& key : old) {
        if (!IsZero(key)) {
            insert(key);
        }
    }
}

template class KeyTable<std::uint64_t>;
template class KeyTable<WideKey>;

CongruenceIndex::CongruenceIndex(int rowSize, int limit, const NumberSet& bankers)
    : switchOn_(SwitchOn(rowSize, limit)),
      limit_(limit),
      bankers_(bankers),
      bankerCount_(bankers.count()),
      freeSize_(rowSize - bankers.count()),
      subsetSize_(switchOn_ ? limit - bankers.count() + 1 : rowSize - bankers.count()),
      packed_(subsetSize_ <= 9) {
    if (subsetSize_ <= 0 || freeSize_ > 16) {
        return;
    }
    const std::size_t perRow = SubsetCount(freeSize_, subsetSize_);
    if (perRow == 0 || perRow > kMaxSubsetsPerRow) {
        return;
    }
    indexable_ = true;
    // Below this many rows a scan costs less than hashing every subset.
    indexFrom_ = 4 * perRow + 16;
    subsetMasks_.reserve(perRow);
    for (unsigned mask = 1; mask < (1U << freeSize_); ++mask) {
        if (std::popcount(mask) == subsetSize_) {
            subsetMasks_.push_back(static_cast<std::uint16_t>(mask));
        }
    }
}

bool CongruenceIndex::admit(const NumberSet& candidate) {
    if (subsetSize_ <= 0) {
        // The bankers alone are more than the limit allows: only the first row passes.
        if (!rows_.empty()) {
            return false;
        }
        rows_.push_back(candidate);
        return true;
    }
    if (indexed_) {
        const int decision =
            packed_ ? admitIndexed(packedTable_, candidate) : admitIndexed(wideTable_, candidate);
        if (decision >= 0) {
            return decision == 1;
        }
        // Not a row of the expected shape: the scan still decides, but the table cannot hold it.
        dropIndex();
    }
    if (!scanAdmits(candidate)) {
        return false;
    }
    rows_.push_back(candidate);
    if (indexable_ && rows_.size() >= indexFrom_) {
        buildIndex();
    }
    return true;
}

bool CongruenceIndex::scanAdmits(const NumberSet& candidate) const {
    for (const NumberSet& row : rows_) {
        if (row == candidate || (switchOn_ && row.sharedCount(candidate) > limit_)) {
            return false;
        }
    }
    return true;
}

bool CongruenceIndex::freeNumbers(const NumberSet& row, std::array<int, 16>& numbers) const {
    if (row.count() != freeSize_ + bankerCount_ || row.sharedCount(bankers_) != bankerCount_) {
        return false;
    }
    std::size_t count = 0;
    row.forEach([&](int n) {
        if (!bankers_.contains(n)) {
            numbers[count++] = n;
        }
    });
    return true;
}

template <>
void CongruenceIndex::makeKeys(const std::array<int, 16>& numbers,
                               std::array<std::uint64_t, kMaxSubsetsPerRow>& keys) const {
    // Ascending numbers of at most 7 bits each (1..95): a unique, non-zero key.
    for (std::size_t i = 0; i < subsetMasks_.size(); ++i) {
        std::uint64_t key = 0;
        int shift = 0;
        for (unsigned bits = subsetMasks_[i]; bits != 0; bits &= bits - 1) {
            key |= static_cast<std::uint64_t>(
                       numbers[static_cast<std::size_t>(std::countr_zero(bits))])
                   << shift;
            shift += 7;
        }
        keys[i] = key;
    }
}

template <>
void CongruenceIndex::makeKeys(const std::array<int, 16>& numbers,
                               std::array<WideKey, kMaxSubsetsPerRow>& keys) const {
    for (std::size_t i = 0; i < subsetMasks_.size(); ++i) {
        WideKey key;
        for (unsigned bits = subsetMasks_[i]; bits != 0; bits &= bits - 1) {
            const int n = numbers[static_cast<std::size_t>(std::countr_zero(bits))];
            if (n < 64) {
                key.low |= std::uint64_t{1} << n;
            } else {
                key.high |= std::uint32_t{1} << (n - 64);
            }
        }
        keys[i] = key;
    }
}

// 1 admitted, 0 refused, -1 the candidate has not the shape the table needs.
template <typename Key>
int CongruenceIndex::admitIndexed(KeyTable<Key>& table, const NumberSet& candidate) {
    std::array<int, 16> numbers{};
    if (!freeNumbers(candidate, numbers)) {
        return -1;
    }
    std::array<Key, kMaxSubsetsPerRow> keys;
    std::array<std::size_t, kMaxSubsetsPerRow> slots;
    makeKeys(numbers, keys);
    const std::size_t count = subsetMasks_.size();
    // Look every slot up at once: the probes then wait for memory side by side.
    for (std::size_t i = 0; i < count; ++i) {
        slots[i] = table.slotOf(keys[i]);
        table.prefetch(slots[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (table.contains(keys[i], slots[i])) {
            return 0;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        table.insert(keys[i]);
    }
    rows_.push_back(candidate);
    return 1;
}

template <typename Key>
bool CongruenceIndex::fillTable(KeyTable<Key>& table) {
    table.reserve(rows_.size() * subsetMasks_.size());
    std::array<int, 16> numbers{};
    std::array<Key, kMaxSubsetsPerRow> keys;
    for (const NumberSet& row : rows_) {
        if (!freeNumbers(row, numbers)) {
            return false;
        }
        makeKeys(numbers, keys);
        for (std::size_t i = 0; i < subsetMasks_.size(); ++i) {
            table.insert(keys[i]);
        }
    }
    return true;
}

void CongruenceIndex::buildIndex() {
    const bool filled = packed_ ? fillTable(packedTable_) : fillTable(wideTable_);
    if (filled) {
        indexed_ = true;
    } else {
        dropIndex();
    }
}

void CongruenceIndex::dropIndex() {
    // A row of another shape was compared: scan for good.
    indexed_ = false;
    indexable_ = false;
    packedTable_.clear();
    wideTable_.clear();
}

}  // namespace losfix
