#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/common/NumberSet.h"
#include "core/lottery/RowColumns.h"

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

// Zeroed slots of a hash table that are not written to be zero: large blocks come from the system
// as zero pages, which it supplies only when first touched.
template <typename Key>
class ZeroedSlots {
public:
    ZeroedSlots() = default;
    explicit ZeroedSlots(std::size_t size);

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Key& operator[](std::size_t i) { return data_.get()[i]; }
    const Key& operator[](std::size_t i) const { return data_.get()[i]; }

private:
    struct Free {
        void operator()(Key* data) const { std::free(data); }
    };
    std::unique_ptr<Key, Free> data_;
    std::size_t size_ = 0;
};

// An open-addressing hash set of non-zero keys (a zero key marks a free slot). It grows gradually:
// the keys of the outgrown table move over a few slots at every insert, so that no single insert
// copies them all.
template <typename Key>
class KeyTable {
public:
    bool empty() const { return used_ == 0 && old_.empty(); }
    std::size_t slotOf(const Key& key) const;
    // Asks for the cache lines a lookup of the key will read (slot: slotOf(key)).
    void prefetch(const Key& key, std::size_t slot) const;
    bool contains(const Key& key, std::size_t slot) const {
        if (slots_.empty()) {
            return false;
        }
        return probe(slots_, key, slot) || (!old_.empty() && inOutgrown(key));
    }
    void insert(const Key& key);
    // Room for this many keys without growing (an empty table only).
    void reserve(std::size_t keys);
    void clear();
    std::size_t capacity() const { return slots_.size(); }
    std::size_t bytes() const { return (slots_.size() + old_.size()) * sizeof(Key); }
    bool growing() const { return !old_.empty(); }

private:
    static bool probe(const ZeroedSlots<Key>& slots, const Key& key, std::size_t slot) {
        const std::size_t mask = slots.size() - 1;
        for (;; slot = (slot + 1) & mask) {
            const Key& stored = slots[slot];
            if (stored == key) {
                return true;
            }
            if (stored == Key{}) {
                return false;
            }
        }
    }
    // The outgrown table stays whole until every key has moved: it answers for the rest.
    bool inOutgrown(const Key& key) const;
    void place(const Key& key);
    void moveSome();

    ZeroedSlots<Key> slots_;
    ZeroedSlots<Key> old_;   // the outgrown table while its keys move over
    std::size_t moved_ = 0;  // slots of old_ moved so far
    std::size_t used_ = 0;   // keys in slots_
    int bits_ = 0;
    int oldBits_ = 0;
};

// A subset of up to 16 numbers as its full 96-bit set. No member initializers: the key arrays
// made for every candidate would be zeroed first; WideKey{} is the empty key.
struct WideKey {
    std::uint64_t low;
    std::uint32_t high;
    bool operator==(const WideKey&) const = default;
};

// The same decisions as CongruenceScan without a comparison per compared row. Every row holds the
// b bankers and rowSize numbers, so two rows share more than L numbers exactly when their
// non-banker parts share t = L - b + 1 numbers (with the switch off, t is the whole non-banker
// part: only equality counts). Two ways find such a row:
// - the columns (RowColumns): a bit-sliced count of the candidate's non-banker numbers over all
//   compared rows, 64 rows a word; its cost grows with the rows;
// - the subset table: every t-subset of every compared row's non-banker part in a hash table, so
//   that a candidate needs one lookup per t-subset of its own; its cost grows with the subsets per
//   row and, once it no longer fits the caches, with the table's size.
// Both give the same decisions, so either may judge any candidate: the columns always can; where a
// row has few subsets the table is kept as well, and each candidate goes to the one that costs
// less by the running means of the last candidates (the columns stop at the first row found, so
// they win where most candidates fail early). The first kScanBelow rows are compared one by one,
// which costs less than a block of columns; within that block the scan goes on where it stops
// early enough on average. Rows of another shape end both: a scan decides then.
class CongruenceIndex {
public:
    // Rows with more t-subsets than this never use the table: its lookups would cost more than
    // the columns' count over as many rows as a run can take, and its memory would be large.
    static constexpr std::size_t kMaxSubsetsPerRow = 24;

    // Up to this many rows, comparing with each costs less than the columns' first block. Past
    // them, within that block, the running mean of the rows a scan compares decides.
    static constexpr std::size_t kScanBelow = 48;
    // Nanoseconds, roughly: comparing with one row, and the columns' count beside its blocks.
    static constexpr double kScanRowCost = 0.6;
    static constexpr double kColumnsFixedCost = 12;

    enum class Method { FirstRowOnly, Columns, Table, Scan };

    // What judge() found for a candidate: some row compared then shares too many numbers with it,
    // none does, or it was left for admit() (a set of another shape).
    enum class Verdict : std::uint8_t { Unjudged, Refused, Clear };

    // The candidates judge() takes at once: 1 while judging them one by one costs less. Only where
    // the columns alone judge a long run: read once for several candidates, the stretch just
    // counted comes from the nearest cache for all but the first.
    std::size_t batchSize() const;
    static constexpr std::size_t kBatch = 32;
    static constexpr std::size_t kBatchFrom = 4096;
    // From how many compared rows on candidates are judged in batches; for tests.
    static void setBatchFrom(std::size_t rows);

    // tableWeight scales the table's estimated cost: tests make one way always the cheaper (0 or
    // a huge weight).
    CongruenceIndex(int rowSize, int limit, const NumberSet& bankers, double tableWeight = 1);

    // Every candidate must hold all bankers and rowSize numbers, as the generator's do; other
    // sets are still judged correctly, but end the use of the columns and the table.
    bool admit(const NumberSet& candidate);
    // Judges candidates against the rows compared now, without admitting any: then
    // admit(candidate, verdict), in their order, decides each as admit(candidate) would.
    void judge(const NumberSet* candidates, std::size_t count, Verdict* verdicts);
    bool admit(const NumberSet& candidate, Verdict verdict);
    std::size_t rowCount() const { return rows_.size(); }
    // How many rows the run asks for: the subset table makes room for them up front.
    void expectRows(std::size_t rows) { expectedRows_ = rows; }
    // How the last candidate was judged.
    Method lastMethod() const { return lastMethod_; }
    // Whether the subset table holds every compared row (it starts once a few rows are compared).
    bool indexed() const { return tableReady_; }
    bool indexable() const { return indexable_; }
    // Whether the columns rest while the table is sure to cost less (they take the rows they
    // missed when they judge again).
    bool columnsResting() const { return resting_; }

private:
    // The numbers of the candidate's non-banker part, ascending; false if it has the wrong shape.
    bool freeNumbers(const NumberSet& row, std::array<int, 16>& numbers) const;
    template <typename Key>
    void makeKeys(const std::array<int, 16>& numbers,
                  std::array<Key, kMaxSubsetsPerRow>& keys) const;
    template <typename Key>
    bool tableHolds(const KeyTable<Key>& table,
                    const std::array<Key, kMaxSubsetsPerRow>& keys) const;
    // scanned: the scan has admitted the candidate already.
    template <typename Key>
    bool admitWithKeys(KeyTable<Key>& table, const NumberSet& candidate,
                       const std::array<int, 16>& numbers, bool scanned);
    template <typename Key>
    void fillTable(KeyTable<Key>& table);
    void syncColumns();
    void chooseMethod();
    bool scanAdmits(const NumberSet& candidate) const;
    // Whether admit() scans before anything else; counts the call.
    bool scanFirst();
    // scanAdmits(), keeping the mean of the rows compared up to the first one too close.
    bool scanAdmitsCounted(const NumberSet& candidate);
    void startScan();

    bool switchOn_;
    int limit_;
    NumberSet bankers_;
    int bankerCount_;
    int freeSize_;    // row size - bankers
    int subsetSize_;  // t; 0 or less: every row after the first fails
    bool packed_;     // subsets fit 7 bits a number into 64 bits
    Method method_ = Method::Scan;
    Method lastMethod_ = Method::Scan;
    bool indexable_ = false;
    bool tableReady_ = false;
    bool preferTable_ = false;
    double tableWeight_;
    std::size_t tableFrom_ = 0;
    bool resting_ = false;        // the columns neither take rows nor judge candidates
    std::size_t columnRows_ = 0;  // rows the columns hold
    // Running means over the last few dozen candidates: blocks the columns read, rows accepted.
    double meanBlocks_ = 0;
    double meanAccepted_ = 1;
    std::uint64_t candidates_ = 0;
    std::uint64_t admits_ = 0;
    double meanScanned_ = 0;
    bool scanCheaper_ = false;
    std::size_t expectedRows_ = 0;
    std::size_t judgedRows_ = 0;  // rows compared when judge() ran last
    std::vector<int> judgedNumbers_;
    std::unique_ptr<bool[]> judgedFound_;
    std::size_t judgedRoom_ = 0;
    std::vector<std::uint16_t> subsetMasks_;  // positions within the non-banker part
    std::vector<NumberSet> rows_;
    RowColumns columns_;
    KeyTable<std::uint64_t> packedTable_;
    KeyTable<WideKey> wideTable_;
};

}  // namespace losfix
