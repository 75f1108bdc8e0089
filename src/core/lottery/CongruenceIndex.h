#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/common/NumberSet.h"

namespace losfix {

// The congruence test of the row generator (CongruenceCheck), row by row: a candidate fails when
// it equals an earlier compared row or, with the congruence switch on, shares more than `limit`
// numbers with one. A passing candidate joins the compared rows.
class CongruenceScan {
public:
    CongruenceScan(int rowSize, int limit);

    bool admit(const NumberSet& candidate);
    std::size_t rowCount() const { return rows_.size(); }

private:
    bool switchOn_;
    int limit_;
    std::vector<NumberSet> rows_;
};

// An open-addressing hash set of non-zero keys (a zero key marks a free slot).
template <typename Key>
class KeyTable {
public:
    bool empty() const { return used_ == 0; }
    std::size_t slotOf(const Key& key) const;
    void prefetch(std::size_t slot) const;
    bool contains(const Key& key, std::size_t slot) const;
    void insert(const Key& key);
    void reserve(std::size_t keys);
    void clear();

private:
    void grow(std::size_t capacity);

    std::vector<Key> slots_;
    std::size_t used_ = 0;
    int bits_ = 0;
};

// A subset of up to 16 numbers as its full 96-bit set.
struct WideKey {
    std::uint64_t low = 0;
    std::uint32_t high = 0;
    bool operator==(const WideKey&) const = default;
};

// The same decisions as CongruenceScan without a comparison per compared row. Every row holds the
// b bankers and rowSize numbers, so two rows share more than L numbers exactly when their
// non-banker parts share t = L - b + 1 numbers, that is when a t-subset of the candidate's
// non-banker part lies in an earlier row (with the switch off, t is the whole non-banker part:
// only equality counts). Those subsets go into a hash table when a row has few of them; otherwise,
// and as long as there are only a few compared rows, the rows are scanned.
class CongruenceIndex {
public:
    static constexpr std::size_t kMaxSubsetsPerRow = 64;

    CongruenceIndex(int rowSize, int limit, const NumberSet& bankers);

    // Every candidate must hold all bankers and rowSize numbers, as the generator's do; other
    // sets are still judged correctly, but end the use of the table.
    bool admit(const NumberSet& candidate);
    std::size_t rowCount() const { return rows_.size(); }
    // Whether the subset table is in use (it starts once enough rows are compared).
    bool indexed() const { return indexed_; }
    bool indexable() const { return indexable_; }

private:
    // The numbers of the candidate's non-banker part, ascending; false if it has the wrong size.
    bool freeNumbers(const NumberSet& row, std::array<int, 16>& numbers) const;
    template <typename Key>
    void makeKeys(const std::array<int, 16>& numbers,
                  std::array<Key, kMaxSubsetsPerRow>& keys) const;
    template <typename Key>
    int admitIndexed(KeyTable<Key>& table, const NumberSet& candidate);
    template <typename Key>
    bool fillTable(KeyTable<Key>& table);
    bool scanAdmits(const NumberSet& candidate) const;
    void buildIndex();
    void dropIndex();

    bool switchOn_;
    int limit_;
    NumberSet bankers_;
    int bankerCount_;
    int freeSize_;    // row size - bankers
    int subsetSize_;  // t; 0 or less: every row after the first fails
    bool packed_;     // subsets fit 7 bits a number into 64 bits
    bool indexable_ = false;
    bool indexed_ = false;
    std::size_t indexFrom_ = 0;
    std::vector<std::uint16_t> subsetMasks_;  // positions within the non-banker part
    std::vector<NumberSet> rows_;
    KeyTable<std::uint64_t> packedTable_;
    KeyTable<WideKey> wideTable_;
};

}  // namespace losfix
