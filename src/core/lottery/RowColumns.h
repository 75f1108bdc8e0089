#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/NumberSet.h"

namespace losfix {

// Hands out memory on cache-line boundaries: a vector load that straddles two lines costs two
// (the columns of a large run come from the system 16 bytes past a page boundary otherwise).
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kAlignment{64};

    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(std::size_t n) {
        return static_cast<T*>(::operator new(n * sizeof(T), kAlignment));
    }
    void deallocate(T* p, std::size_t) { ::operator delete(p, kAlignment); }
    template <typename U>
    bool operator==(const CacheLineAllocator<U>&) const {
        return true;
    }
};

// The compared rows turned on their side: for every number a column with one bit per row, set
// when the row holds the number. Whether some row holds at least t of a candidate's numbers is
// then a sum of the candidate's columns, counted bit by bit for 64 rows a word and several words
// a step, instead of one comparison per row.
class RowColumns {
public:
    static constexpr int kMaxNumbers = 16;

    static constexpr std::size_t kRowsPerBlock = 512;

    struct Search {
        bool found;
        std::size_t blocks;  // blocks of kRowsPerBlock rows read
    };

    // Appends one row; numbers outside 0..95 are not kept.
    void add(const NumberSet& row);
    std::size_t rowCount() const { return rows_; }
    // Whether some row holds at least `threshold` of the `count` distinct numbers (1 <= threshold
    // <= count <= kMaxNumbers, each in 0..95).
    Search anyHolds(const int* numbers, int count, int threshold) const;
    // The same for several candidates, each of `count` numbers, the k-th from numbers +
    // k * kMaxNumbers: found[k] tells whether some row holds `threshold` of them. Where the
    // processor has a second core, a helper thread (started at the first call) takes candidates
    // too.
    void anyHoldsEach(const int* numbers, std::size_t candidates, int count, int threshold,
                      bool* found);
    // For tests and benchmarks: whether anyHoldsEach may use the helper (on by default).
    void shareWithHelper(bool share) { share_ = share; }
    void clear();

    // What reading one block costs per number counted, roughly, in nanoseconds (measured on a
    // 2.6 GHz processor): for choosing between the columns and other ways.
    static double blockCost();

    // The instruction set the counting uses on this processor: "AVX-512", "AVX2" or "SSE2"
    // (or "portable" where the compiler offers no vector types).
    static const char* instructionSet();
    static std::vector<std::string> supportedInstructionSets();
    // For tests and benchmarks: counts with the named one from now on; false if this processor
    // lacks it.
    static bool useInstructionSet(std::string_view name);

    RowColumns();
    ~RowColumns();
    RowColumns(RowColumns&&) noexcept;
    RowColumns& operator=(RowColumns&&) noexcept;

private:
    class Helper;

    void grow();
    std::size_t wholeWords() const;
    // The count over the first `words` words of every column: blocks read up to and with the first
    // hit, or 0.
    std::size_t blocksRead(const int* numbers, int count, unsigned threshold,
                           std::size_t words) const;

    std::vector<std::uint64_t, CacheLineAllocator<std::uint64_t>>
        bits_;  // column n from n * stride_
    std::size_t wordsPerColumn_ = 0;
    std::size_t stride_ = 0;
    std::size_t rows_ = 0;
    bool share_ = true;
    std::unique_ptr<Helper> helper_;
};

}  // namespace losfix
