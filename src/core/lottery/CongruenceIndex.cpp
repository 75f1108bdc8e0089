#include "core/lottery/CongruenceIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
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

// The comparison with every row, as CongruenceScan does it: the first row the candidate is too
// close to, or count if there is none.
std::size_t ScanFirstHit(const NumberSet* rows, std::size_t count, const NumberSet& candidate,
                         bool switchOn, int limit) {
    for (std::size_t i = 0; i < count; ++i) {
        if (rows[i] == candidate || (switchOn && rows[i].sharedCount(candidate) > limit)) {
            return i;
        }
    }
    return count;
}

using ScanFunction = std::size_t (*)(const NumberSet*, std::size_t, const NumberSet&, bool, int);

#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
// The same with the processor's population count: plain x86-64 has none, and the compiler's
// substitute costs several times as much.
__attribute__((target("popcnt"))) std::size_t ScanFirstHitWithPopcnt(const NumberSet* rows,
                                                                     std::size_t count,
                                                                     const NumberSet& candidate,
                                                                     bool switchOn, int limit) {
    const std::uint64_t low = candidate.lowBits();
    const std::uint32_t high = candidate.highBits();
    for (std::size_t i = 0; i < count; ++i) {
        if (rows[i] == candidate ||
            (switchOn && __builtin_popcountll(rows[i].lowBits() & low) +
                                 __builtin_popcount(rows[i].highBits() & high) >
                             limit)) {
            return i;
        }
    }
    return count;
}
#endif

ScanFunction Scan() {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
    static const ScanFunction scan = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("popcnt") ? ScanFirstHitWithPopcnt : ScanFirstHit;
    }();
    return scan;
#else
    return ScanFirstHit;
#endif
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
ZeroedSlots<Key>::ZeroedSlots(std::size_t size)
    : data_(static_cast<Key*>(std::calloc(size, sizeof(Key)))), size_(size) {
    if (!data_) {
        throw std::bad_alloc();
    }
}

template <typename Key>
std::size_t KeyTable<Key>::slotOf(const Key& key) const {
    return static_cast<std::size_t>(Mix(key) >> (64 - bits_));
}

template <typename Key>
void KeyTable<Key>::prefetch([[maybe_unused]] const Key& key,
                             [[maybe_unused]] std::size_t slot) const {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(&slots_[slot]);
    if (!old_.empty()) {
        __builtin_prefetch(&old_[static_cast<std::size_t>(Mix(key) >> (64 - oldBits_))]);
    }
#endif
}

template <typename Key>
bool KeyTable<Key>::inOutgrown(const Key& key) const {
    return probe(old_, key, static_cast<std::size_t>(Mix(key) >> (64 - oldBits_)));
}

template <typename Key>
void KeyTable<Key>::place(const Key& key) {
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
void KeyTable<Key>::moveSome() {
    // The new table holds twice the slots: 32 old slots an insert have moved them all long before
    // it is half full again, and the lookups check two tables only for a short while.
    const std::size_t end = std::min(old_.size(), moved_ + 32);
    for (; moved_ < end; ++moved_) {
        if (!IsZero(old_[moved_])) {
            place(old_[moved_]);
        }
    }
    if (moved_ == old_.size()) {
        old_ = ZeroedSlots<Key>();
        moved_ = 0;
    }
}

template <typename Key>
void KeyTable<Key>::insert(const Key& key) {
    if (!old_.empty()) {
        moveSome();
    }
    if (2 * (used_ + 1) > slots_.size()) {
        if (slots_.empty()) {
            reserve(1);
        } else {
            while (!old_.empty()) {
                moveSome();
            }
            old_ = std::move(slots_);
            oldBits_ = bits_;
            slots_ = ZeroedSlots<Key>(2 * old_.size());
            bits_ = std::countr_zero(slots_.size());
            used_ = 0;
            moved_ = 0;
            moveSome();
        }
    }
    place(key);
}

template <typename Key>
void KeyTable<Key>::reserve(std::size_t keys) {
    if (!empty()) {
        return;
    }
    std::size_t capacity = 1024;
    while (capacity < 2 * keys) {
        capacity *= 2;
    }
    slots_ = ZeroedSlots<Key>(capacity);
    bits_ = std::countr_zero(capacity);
}

template <typename Key>
void KeyTable<Key>::clear() {
    slots_ = ZeroedSlots<Key>();
    old_ = ZeroedSlots<Key>();
    moved_ = 0;
    used_ = 0;
    bits_ = 0;
    oldBits_ = 0;
}

template class KeyTable<std::uint64_t>;
template class KeyTable<WideKey>;

CongruenceIndex::CongruenceIndex(int rowSize, int limit, const NumberSet& bankers,
                                 double tableWeight)
    : switchOn_(SwitchOn(rowSize, limit)),
      limit_(limit),
      bankers_(bankers),
      bankerCount_(bankers.count()),
      freeSize_(rowSize - bankers.count()),
      subsetSize_(switchOn_ ? limit - bankers.count() + 1 : rowSize - bankers.count()),
      packed_(subsetSize_ <= 9),
      tableWeight_(tableWeight) {
    if (subsetSize_ <= 0) {
        method_ = Method::FirstRowOnly;
        return;
    }
    if (freeSize_ > RowColumns::kMaxNumbers) {
        return;
    }
    method_ = Method::Columns;
    const std::size_t perRow = SubsetCount(freeSize_, subsetSize_);
    if (perRow == 0 || perRow > kMaxSubsetsPerRow) {
        return;
    }
    indexable_ = true;
    // The first rows cost little to put in at once.
    tableFrom_ = 4 * perRow + 16;
    subsetMasks_.reserve(perRow);
    for (unsigned mask = 1; mask < (1U << freeSize_); ++mask) {
        if (std::popcount(mask) == subsetSize_) {
            subsetMasks_.push_back(static_cast<std::uint16_t>(mask));
        }
    }
}

bool CongruenceIndex::admit(const NumberSet& candidate) {
    if (method_ == Method::FirstRowOnly) {
        // The bankers alone are more than the limit allows: only the first row passes.
        lastMethod_ = Method::FirstRowOnly;
        if (!rows_.empty()) {
            return false;
        }
        rows_.push_back(candidate);
        return true;
    }
    if (method_ == Method::Columns) {
        // Where a comparison with each row costs less than the columns, a refusal needs nothing
        // else.
        const bool scanned = scanFirst();
        if (scanned && !scanAdmitsCounted(candidate)) {
            lastMethod_ = Method::Scan;
            return false;
        }
        std::array<int, 16> numbers{};
        if (freeNumbers(candidate, numbers)) {
            return packed_ ? admitWithKeys(packedTable_, candidate, numbers, scanned)
                           : admitWithKeys(wideTable_, candidate, numbers, scanned);
        }
        // Not a row of the expected shape: the scan still decides, but neither the columns nor
        // the table can hold it.
        startScan();
    }
    lastMethod_ = Method::Scan;
    if (!scanAdmits(candidate)) {
        return false;
    }
    rows_.push_back(candidate);
    return true;
}

namespace {
std::size_t batchFrom = CongruenceIndex::kBatchFrom;
}  // namespace

void CongruenceIndex::setBatchFrom(std::size_t rows) {
    batchFrom = rows;
}

std::size_t CongruenceIndex::batchSize() const {
    return method_ == Method::Columns && !indexable_ && rows_.size() >= batchFrom &&
                   rows_.size() >= kScanBelow
               ? kBatch
               : 1;
}

void CongruenceIndex::judge(const NumberSet* candidates, std::size_t count, Verdict* verdicts) {
    judgedRows_ = rows_.size();
    if (method_ != Method::Columns || rows_.size() < kScanBelow || resting_) {
        std::fill_n(verdicts, count, Verdict::Unjudged);
        return;
    }
    syncColumns();
    judgedNumbers_.assign(count * RowColumns::kMaxNumbers, 0);
    if (judgedRoom_ < count) {
        judgedFound_ = std::make_unique<bool[]>(count);
        judgedRoom_ = count;
    }
    std::size_t shaped = 0;
    std::array<int, 16> numbers{};
    for (std::size_t k = 0; k < count; ++k) {
        verdicts[k] = Verdict::Unjudged;
        if (freeNumbers(candidates[k], numbers)) {
            std::copy_n(numbers.begin(), freeSize_,
                        judgedNumbers_.begin() +
                            static_cast<std::ptrdiff_t>(shaped * RowColumns::kMaxNumbers));
            verdicts[k] = Verdict::Clear;
            ++shaped;
        }
    }
    columns_.anyHoldsEach(judgedNumbers_.data(), shaped, freeSize_, subsetSize_,
                          judgedFound_.get());
    std::size_t next = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (verdicts[k] == Verdict::Clear && judgedFound_[next++]) {
            verdicts[k] = Verdict::Refused;
        }
    }
}

bool CongruenceIndex::admit(const NumberSet& candidate, Verdict verdict) {
    if (verdict == Verdict::Unjudged) {
        return admit(candidate);
    }
    lastMethod_ = Method::Columns;
    // Rows compared since the judgement: the candidates before it in the same batch.
    const std::size_t since = rows_.size() - judgedRows_;
    if (verdict == Verdict::Refused ||
        Scan()(rows_.data() + judgedRows_, since, candidate, switchOn_, limit_) != since) {
        return false;
    }
    rows_.push_back(candidate);
    if (method_ == Method::Columns && !resting_) {
        syncColumns();
    }
    return true;
}

bool CongruenceIndex::scanAdmits(const NumberSet& candidate) const {
    return Scan()(rows_.data(), rows_.size(), candidate, switchOn_, limit_) == rows_.size();
}

bool CongruenceIndex::scanFirst() {
    ++admits_;
    if (rows_.size() < kScanBelow) {
        return true;
    }
    if (rows_.size() >= RowColumns::kRowsPerBlock) {
        return false;
    }
    // Within the columns' first block the scan, which stops at the first row too close, costs
    // less while that row comes early on average, as where nearly every candidate fails. Every
    // 64th candidate is scanned anyway, so that the mean stays current.
    return scanCheaper_ || admits_ % 64 == 0;
}

bool CongruenceIndex::scanAdmitsCounted(const NumberSet& candidate) {
    const std::size_t count = rows_.size();
    const std::size_t hit = Scan()(rows_.data(), count, candidate, switchOn_, limit_);
    if (count >= kScanBelow) {
        const double compared = static_cast<double>(hit == count ? count : hit + 1);
        meanScanned_ += (compared - meanScanned_) / 32;
        // One block of columns: a count over the candidate's numbers, after sorting them out.
        const double columnsCost = kColumnsFixedCost + freeSize_ * RowColumns::blockCost();
        scanCheaper_ = meanScanned_ * kScanRowCost < columnsCost;
    }
    return hit == count;
}

bool CongruenceIndex::freeNumbers(const NumberSet& row, std::array<int, 16>& numbers) const {
    // Without a population count: plain x86-64 has none, and this runs for every candidate.
    if ((row.lowBits() & bankers_.lowBits()) != bankers_.lowBits() ||
        (row.highBits() & bankers_.highBits()) != bankers_.highBits()) {
        return false;
    }
    int count = 0;
    row.forEach([&](int n) {
        if (!bankers_.contains(n)) {
            if (count < static_cast<int>(numbers.size())) {
                numbers[static_cast<std::size_t>(count)] = n;
            }
            ++count;
        }
    });
    return count == freeSize_;
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
        WideKey key{};
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

template <typename Key>
bool CongruenceIndex::tableHolds(const KeyTable<Key>& table,
                                 const std::array<Key, kMaxSubsetsPerRow>& keys) const {
    std::array<std::size_t, kMaxSubsetsPerRow> slots;
    const std::size_t count = subsetMasks_.size();
    // Look every slot up at once: the probes then wait for memory side by side.
    for (std::size_t i = 0; i < count; ++i) {
        slots[i] = table.slotOf(keys[i]);
        table.prefetch(keys[i], slots[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (table.contains(keys[i], slots[i])) {
            return true;
        }
    }
    return false;
}

template <typename Key>
bool CongruenceIndex::admitWithKeys(KeyTable<Key>& table, const NumberSet& candidate,
                                    const std::array<int, 16>& numbers, bool scanned) {
    ++candidates_;
    std::array<Key, kMaxSubsetsPerRow> keys;
    bool keysMade = false;
    bool refused = false;
    if (scanned) {
        lastMethod_ = Method::Scan;
    } else if (tableReady_ && preferTable_ && (resting_ || candidates_ % 64 != 0)) {
        lastMethod_ = Method::Table;
        makeKeys(numbers, keys);
        keysMade = true;
        refused = tableHolds(table, keys);
    } else {
        // Also every 64th candidate while the table is the cheaper: the columns' running mean
        // stays current.
        lastMethod_ = Method::Columns;
        syncColumns();
        const RowColumns::Search search = columns_.anyHolds(numbers.data(), freeSize_, subsetSize_);
        meanBlocks_ += (static_cast<double>(search.blocks) - meanBlocks_) / 32;
        refused = search.found;
    }
    meanAccepted_ += ((refused ? 0.0 : 1.0) - meanAccepted_) / 32;
    if (!refused) {
        rows_.push_back(candidate);
        if (!resting_ && rows_.size() > kScanBelow) {
            syncColumns();
        }
        if (tableReady_) {
            if (!keysMade) {
                makeKeys(numbers, keys);
            }
            for (std::size_t i = 0; i < subsetMasks_.size(); ++i) {
                table.insert(keys[i]);
            }
        } else if (indexable_ && rows_.size() >= tableFrom_) {
            fillTable(table);
            tableReady_ = true;
            chooseMethod();
        }
    }
    if (tableReady_ && candidates_ % 64 == 0) {
        chooseMethod();
    }
    return !refused;
}

void CongruenceIndex::syncColumns() {
    for (; columnRows_ < rows_.size(); ++columnRows_) {
        columns_.add(rows_[columnRows_]);
    }
}

void CongruenceIndex::chooseMethod() {
    // A lookup in nanoseconds, roughly: from the caches while the table is small, from memory once
    // it is large. The inserts of accepted rows are the same either way.
    const std::size_t bytes = packed_ ? packedTable_.bytes() : wideTable_.bytes();
    const double lookup = bytes <= (std::size_t{1} << 19)   ? 4
                          : bytes <= (std::size_t{1} << 24) ? 10
                                                            : 20;
    const double tableCost = static_cast<double>(subsetMasks_.size()) * lookup * tableWeight_;
    const double blockCost = freeSize_ * RowColumns::blockCost();
    preferTable_ = tableCost < meanBlocks_ * blockCost;
    // An accepted candidate reads every block: while even the accepted ones alone cost the columns
    // more than the table, the columns rest (no rows added, no candidates judged) until they may
    // be cheaper again; then they take up the rows they missed.
    const double blocks = std::ceil(static_cast<double>(rows_.size()) / RowColumns::kRowsPerBlock);
    resting_ = tableCost < meanAccepted_ * blocks * blockCost;
    preferTable_ = preferTable_ || resting_;
}

template <typename Key>
void CongruenceIndex::fillTable(KeyTable<Key>& table) {
    // Every compared row has the expected shape here: the columns took only such rows. Room for
    // the rows the run asks for, where that stays small: every growth moves each key again.
    constexpr std::size_t kReserveBytes = std::size_t{16} << 20;
    std::size_t room = 2 * rows_.size() * subsetMasks_.size();
    const std::size_t expected = expectedRows_ * subsetMasks_.size();
    if (expected > room && 2 * expected * sizeof(Key) <= kReserveBytes) {
        room = expected;
    }
    table.reserve(room);
    std::array<int, 16> numbers{};
    std::array<Key, kMaxSubsetsPerRow> keys;
    for (const NumberSet& row : rows_) {
        freeNumbers(row, numbers);
        makeKeys(numbers, keys);
        for (std::size_t i = 0; i < subsetMasks_.size(); ++i) {
            table.insert(keys[i]);
        }
    }
}

void CongruenceIndex::startScan() {
    // A row of another shape was compared: scan for good.
    method_ = Method::Scan;
    indexable_ = false;
    tableReady_ = false;
    columns_.clear();
    columnRows_ = 0;
    resting_ = false;
    packedTable_.clear();
    wideTable_.clear();
}

}  // namespace losfix
