#include "core/eval/LottoOddsEngine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

#include "core/eval/SampleRandom.h"

// Numbers 1..N are the elements 0..N-1 here. A j-subset {s_1 < ... < s_j} has the colex rank
// sum_i C(s_i, i); the subset tables count, at that rank, the rows that contain the subset.
//
// For a draw D, S_j(D) = sum over the j-subsets T of D of count(T) = sum over the rows of
// C(hits, j). With P(x) = sum_j S_j x^j and H(y) = sum_h n_h y^h (n_h: rows with exactly h hits),
// P(x) = H(1 + x), so H(y) = P(y - 1): a Taylor shift by -1, subtractions only.
//
// Draws are enumerated in colex order, largest element first, each level choosing the next
// smaller element. S(Q + y) = S(Q) + sum over the subsets T of Q of count(T + y), and the rank
// of T + y is y + B_1(T) with B_u(T) = sum_i C(t_i, i + u): for a fixed T the counts of T + y for
// all y below min(Q) lie side by side in the table. The last two elements e > f are done
// together: S(Q + e + f) = S(Q + e) + R(f) + sum_T count(T + e + f), where R(f), the sum of
// count(T + f), is the same for every e.
namespace losfix::eval {

namespace {

// Nanoseconds of one core, measured on the build machine (Release): a row compared with a draw,
// an element of a run of counts added, a table entry filled, a byte of table cleared, a subset
// looked up at random, a list entry sorted.
constexpr double kCompareNs = 0.5;
constexpr double kDrawNs = 20.0;  // the comparison's own work per draw
constexpr double kAddNs = 0.8;
constexpr double kFillNs = 15.0;
constexpr double kClearNs = 0.3;
constexpr double kLookupNs = 6.0;
constexpr double kSortNs = 40.0;
constexpr double kExactSeconds = 1.0;
constexpr double kSampleMillions = 10.0;  // the default sample

// Work between two looks at the stop flag, about a millisecond of one core: rows compared with
// a draw, subsets looked up, subset counts filled, table entries cleared.
constexpr std::uint64_t kComparesPerStep = 2'000'000;
constexpr std::uint64_t kLookupsPerStep = 1 << 17;
constexpr std::uint64_t kFillsPerStep = 1 << 16;
constexpr std::size_t kClearsPerStep = 1 << 20;
// Enumerated draws of the subset method between two looks (each costs well under a microsecond).
constexpr std::uint64_t kDrawsPerStep = 4096;

constexpr int kMaxHits = 16;
constexpr std::size_t kHitSlots = kMaxHits + 1;
constexpr int kMaxElements = 96;

// Unsigned and wrapping: ranks of subsets too large to be counted are computed but never used.
class BinomialTable {
public:
    BinomialTable() {
        for (int n = 0; n <= kMaxElements; ++n) {
            at(n, 0) = 1;
            for (int k = 1; k <= kMaxDrawSize + 1; ++k) {
                at(n, k) = n == 0 ? 0 : at(n - 1, k - 1) + at(n - 1, k);
            }
        }
    }
    std::uint64_t operator()(int n, int k) const { return values_[Index(n, k)]; }

private:
    static std::size_t Index(int n, int k) {
        return static_cast<std::size_t>(n) * (kMaxDrawSize + 2) + static_cast<std::size_t>(k);
    }
    std::uint64_t& at(int n, int k) { return values_[Index(n, k)]; }
    std::array<std::uint64_t, (kMaxElements + 1) * (kMaxDrawSize + 2)> values_{};
};

const BinomialTable kChoose;

std::size_t Slot(int h) {
    return static_cast<std::size_t>(h);
}

int MaxHits(const LottoRows& rows, int drawSize) {
    return std::min({rows.rowSize, drawSize, kMaxHits});
}

int ThreadCount() {
    const unsigned hardware = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(hardware, 1U, 2U));
}

std::vector<int> Elements(const NumberSet& set) {
    std::vector<int> elements;
    set.forEach([&](int n) { elements.push_back(n - 1); });
    return elements;
}

// ---- Figures ---------------------------------------------------------------------------------

struct Totals {
    std::uint64_t draws = 0;
    std::array<std::uint64_t, kHitSlots> bestRow{};
    std::array<std::uint64_t, kHitSlots> anyRow{};
    std::array<std::uint64_t, kHitSlots> rowsTotal{};
    std::array<long double, kHitSlots> squares{};

    void merge(const Totals& other) {
        draws += other.draws;
        for (std::size_t h = 0; h < kHitSlots; ++h) {
            bestRow[h] += other.bestRow[h];
            anyRow[h] += other.anyRow[h];
            rowsTotal[h] += other.rowsTotal[h];
            squares[h] += other.squares[h];
        }
    }

    void into(LottoOdds& odds, int maxHits) const {
        const auto size = static_cast<std::ptrdiff_t>(maxHits + 1);
        odds.draws = draws;
        odds.bestRow.assign(bestRow.begin(), bestRow.begin() + size);
        odds.anyRow.assign(anyRow.begin(), anyRow.begin() + size);
        odds.rowsTotal.assign(rowsTotal.begin(), rowsTotal.begin() + size);
        odds.rowsSquares.assign(squares.begin(), squares.begin() + size);
    }
};

// Draws given by their sums S_j, gathered column by column and folded into Totals in batches,
// in loops over the draws that the compiler can vectorise. The sums are 32-bit and wrap: the
// subset method is only used while every S_j fits (rows * C(m, j) < 2^32), and the counts n_h
// that the Taylor shift leaves, between 0 and the number of rows, are exact modulo 2^32.
using Sum = std::uint32_t;

class SumBatch {
public:
    static constexpr int kSize = 128;  // more than a pool has numbers: the runs of lastTwo fit

    explicit SumBatch(int maxHits)
        : maxHits_(maxHits), s_(static_cast<std::size_t>(maxHits + 1) * kSize) {}

    int fill() const { return fill_; }
    int room() const { return kSize - fill_; }
    Sum* column(int j) { return s_.data() + static_cast<std::size_t>(j) * kSize; }
    void advance(int draws) { fill_ += draws; }

    void flush(Totals& totals) {
        const int n = fill_;
        if (n == 0) {
            return;
        }
        // Draws with S_j > 0 are those whose best row has at least j hits.
        std::array<std::uint32_t, kHitSlots> atLeast{};
        int top = 0;
        for (int j = 0; j <= maxHits_; ++j) {
            const Sum* sj = column(j);
            std::uint32_t positive = 0;
            for (int i = 0; i < n; ++i) {
                positive += sj[i] != 0 ? 1U : 0U;
            }
            atLeast[Slot(j)] = positive;
            if (positive != 0) {
                top = j;
            }
        }
        for (int h = 0; h <= top; ++h) {
            totals.bestRow[Slot(h)] += atLeast[Slot(h)] - (h < top ? atLeast[Slot(h + 1)] : 0U);
        }
        // Taylor shift by -1 up to the highest nonzero S: n_h in place of S_h.
        for (int i = 0; i < top; ++i) {
            for (int j = top - 1; j >= i; --j) {
                Sum* a = column(j);
                const Sum* b = column(j + 1);
                for (int k = 0; k < n; ++k) {
                    a[k] -= b[k];
                }
            }
        }
        for (int h = 0; h <= top; ++h) {
            const Sum* rows = column(h);
            std::uint32_t any = 0;
            std::uint64_t total = 0;
            std::uint64_t squares = 0;  // a batch of squares of counts of rows fits 64 bits
            for (int i = 0; i < n; ++i) {
                any += rows[i] != 0 ? 1U : 0U;
                const std::uint64_t r = rows[i];
                total += r;
                squares += r * r;
            }
            totals.anyRow[Slot(h)] += any;
            totals.rowsTotal[Slot(h)] += total;
            totals.squares[Slot(h)] += static_cast<long double>(squares);
        }
        totals.draws += static_cast<std::uint64_t>(n);
        fill_ = 0;
    }

private:
    int maxHits_;
    std::vector<Sum> s_;
    int fill_ = 0;
};

// Draws given by their counts n_h directly (the comparison with every row).
void AddCounts(Totals& totals, const std::array<std::uint32_t, kHitSlots>& counts, int maxHits) {
    int best = maxHits;
    while (best > 0 && counts[Slot(best)] == 0) {
        --best;
    }
    ++totals.bestRow[Slot(best)];
    for (int h = 0; h <= best; ++h) {
        const std::uint64_t n = counts[Slot(h)];
        totals.anyRow[Slot(h)] += n != 0 ? 1 : 0;
        totals.rowsTotal[Slot(h)] += n;
        totals.squares[Slot(h)] += static_cast<long double>(n * n);
    }
    ++totals.draws;
}

// ---- Every draw against every row ------------------------------------------------------------

struct RowBits {
    std::vector<std::uint64_t> low;
    std::vector<std::uint32_t> high;
};

RowBits BitsOf(const LottoRows& rows) {
    RowBits bits;
    for (const NumberSet& row : rows.rows) {
        bits.low.push_back(row.lowBits());
        bits.high.push_back(row.highBits());
    }
    return bits;
}

// Draws compared with every row between two looks at the stop flag.
std::uint64_t ComparedDrawsPerStep(const LottoRows& rows) {
    return std::clamp<std::uint64_t>(kComparesPerStep / (rows.rows.size() + 40), 1, 4096);
}

inline void CompareLoop(const RowBits& rows, std::uint64_t low, std::uint32_t high,
                        std::array<std::uint32_t, kHitSlots>& counts) {
    // A draw has at most kMaxDrawSize numbers, so no row hits more.
    std::array<std::uint32_t, 32> histogram{};
    const std::size_t n = rows.low.size();
    const std::uint64_t* rowLow = rows.low.data();
    const std::uint32_t* rowHigh = rows.high.data();
    for (std::size_t i = 0; i < n; ++i) {
        ++histogram[static_cast<std::size_t>(std::popcount(rowLow[i] & low) +
                                             std::popcount(rowHigh[i] & high))];
    }
    std::copy_n(histogram.begin(), kHitSlots, counts.begin());
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// The default x86-64 target has no popcount instruction; every processor of this century does.
__attribute__((target("popcnt"))) void ComparePopcnt(const RowBits& rows, std::uint64_t low,
                                                     std::uint32_t high,
                                                     std::array<std::uint32_t, kHitSlots>& counts) {
    CompareLoop(rows, low, high, counts);
}
const bool kHasPopcnt = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();
#endif

void CompareDraw(const RowBits& rows, const NumberSet& draw,
                 std::array<std::uint32_t, kHitSlots>& counts) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    if (kHasPopcnt) {
        ComparePopcnt(rows, draw.lowBits(), draw.highBits(), counts);
        return;
    }
#endif
    CompareLoop(rows, draw.lowBits(), draw.highBits(), counts);
}

// ---- Subset tables ---------------------------------------------------------------------------

// Calls visit(size, rank) for every subset of 1..maxSize of the ascending elements, each rank
// built as the subset grows; the supersets of a subset whose visit returns false are skipped.
template <typename Visit>
void ForEachSubset(const int* elements, int count, int maxSize, const Visit& visit) {
    struct Step {
        int next;
        int size;
        std::uint64_t rank;
    };
    std::array<Step, kMaxDrawSize + 1> stack{};
    int depth = 0;
    stack[0] = {0, 0, 0};
    while (depth >= 0) {
        Step& step = stack[Slot(depth)];
        if (step.next == count || step.size == maxSize) {
            --depth;
            continue;
        }
        const int element = elements[Slot(step.next)];
        ++step.next;
        const int size = step.size + 1;
        const std::uint64_t rank = step.rank + kChoose(element, size);
        if (visit(size, rank)) {
            stack[Slot(++depth)] = {step.next, size, rank};
        }
    }
}

std::uint64_t DenseBytes(int poolSize, int fromSize, int toSize) {
    std::uint64_t bytes = 0;
    for (int j = fromSize; j <= toSize; ++j) {
        bytes += kChoose(poolSize, j) * sizeof(std::uint32_t);
    }
    return bytes;
}

constexpr std::uint64_t kTableBudget = 200ULL << 20;

// The largest subsets are kept as a sorted list when a table of them would be larger or slower
// to clear than sorting the subsets the rows hold. Only possible when the largest subsets are
// whole draws: then they are met in rank order.
bool UseSparseTop(const LottoRows& rows, int drawSize) {
    const int m = MaxHits(rows, drawSize);
    if (m != drawSize) {
        return false;
    }
    const double entries =
        static_cast<double>(rows.rows.size()) * static_cast<double>(kChoose(rows.rowSize, m));
    const double dense = static_cast<double>(DenseBytes(rows.poolSize, m, m));
    return dense > static_cast<double>(kTableBudget) || entries * 64.0 < dense;
}

// Runs f(begin, end) over [0, count) split between the threads; below `serial` on one.
template <typename F>
void ParallelFor(std::size_t count, const F& f, std::size_t serial = 1024) {
    const auto threads = static_cast<std::size_t>(ThreadCount());
    if (threads < 2 || count < serial) {
        f(std::size_t{0}, count);
        return;
    }
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(
            [&f, t, threads, count] { f(count * t / threads, count * (t + 1) / threads); });
    }
    f(std::size_t{0}, count / threads);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

std::uint64_t SubsetsPerRow(int rowSize, int maxHits) {
    std::uint64_t subsets = 0;
    for (int j = 1; j <= maxHits; ++j) {
        subsets += kChoose(rowSize, j);
    }
    return subsets;
}

// The largest subsets of the rows in sorted runs, merged into one list of ranks and counts.
constexpr std::size_t kRunLength = 1 << 16;

struct SortedRuns {
    std::vector<std::uint64_t> ranks;
    std::vector<std::size_t> ends;  // of the sorted runs in ranks

    // Sorts what came since the last run; false when stopped.
    bool close(EvalControl& control, std::uint64_t unitsPerEntry) {
        const std::size_t begin = ends.empty() ? 0 : ends.back();
        if (begin == ranks.size()) {
            return true;
        }
        std::sort(ranks.begin() + static_cast<std::ptrdiff_t>(begin), ranks.end());
        ends.push_back(ranks.size());
        return control.addPrepared((ranks.size() - begin) * unitsPerEntry);
    }
};

class SubsetTables {
public:
    // Builds the tables from the rows; a stop leaves them incomplete (see complete()).
    SubsetTables(const LottoRows& rows, int drawSize, bool sparseTop, EvalControl& control)
        : poolSize_(rows.poolSize), maxHits_(MaxHits(rows, drawSize)), sparseTop_(sparseTop) {
        dense_.resize(Slot(maxHits_ + 1));
        const int denseTop = sparseTop_ ? maxHits_ - 1 : maxHits_;
        const std::uint64_t subsets = SubsetsPerRow(rows.rowSize, maxHits_);
        const Units units(subsets);
        control.preparing.store(BuildUnits(rows, drawSize, sparseTop), std::memory_order_relaxed);
        const std::uint64_t clearUnits = units.clear;
        const std::uint64_t rowUnits = units.row;
        const std::uint64_t sortUnits = units.sort;
        const std::uint64_t mergeUnits = units.merge;

        for (int j = 1; j <= denseTop; ++j) {
            // Cleared by both threads: for the large tables the first touch of every page is
            // most of the cost.
            const std::size_t size = kChoose(poolSize_, j);
            dense_[Slot(j)].reset(new std::uint32_t[size]);
            std::uint32_t* table = dense_[Slot(j)].get();
            const std::size_t steps = (size + kClearsPerStep - 1) / kClearsPerStep;
            ParallelFor(
                steps,
                [&](std::size_t begin, std::size_t end) {
                    for (std::size_t step = begin; step < end && !control.stopped(); ++step) {
                        const std::size_t from = step * kClearsPerStep;
                        const std::size_t to = std::min(size, from + kClearsPerStep);
                        std::fill(table + from, table + to, 0U);
                        control.addPrepared((to - from) * clearUnits);
                    }
                },
                2);
            if (control.stopped()) {
                return;
            }
        }

        rows_ = static_cast<Sum>(rows.rows.size());
        const auto threads = static_cast<std::size_t>(ThreadCount());
        std::vector<SortedRuns> runs(threads);
        std::atomic<std::size_t> part{0};
        const std::size_t rowsPerStep =
            static_cast<std::size_t>(std::max<std::uint64_t>(1, kFillsPerStep / subsets));
        ParallelFor(rows.rows.size(), [&](std::size_t begin, std::size_t end) {
            SortedRuns& own = runs[part.fetch_add(1)];
            for (std::size_t r = begin; r < end;) {
                if (control.stopped()) {
                    return;
                }
                const std::size_t first = r;
                const std::size_t last = std::min(end, r + rowsPerStep);
                for (; r < last; ++r) {
                    addRow(rows.rows[r], own.ranks);
                }
                if (own.ranks.size() - (own.ends.empty() ? 0 : own.ends.back()) >= kRunLength &&
                    !own.close(control, sortUnits)) {
                    return;
                }
                control.addPrepared((last - first) * rowUnits);
            }
            own.close(control, sortUnits);
        });
        if (control.stopped() || (sparseTop_ && !merge(runs, control, mergeUnits))) {
            return;
        }
        // A guard at the end, so that a walk through the list needs no bounds check.
        sparseRank_.push_back(UINT64_MAX);
        sparseCount_.push_back(0);
        complete_ = true;
    }

    // False when a stop came before the tables were built.
    bool complete() const { return complete_; }

    // The work of building, in the units of the progress: estimated nanoseconds of one core.
    static std::uint64_t BuildUnits(const LottoRows& rows, int drawSize, bool sparseTop) {
        const int maxHits = MaxHits(rows, drawSize);
        const Units units(SubsetsPerRow(rows.rowSize, maxHits));
        const std::uint64_t topEntries =
            sparseTop ? rows.rows.size() * kChoose(rows.rowSize, maxHits) : 0;
        return DenseBytes(rows.poolSize, 1, sparseTop ? maxHits - 1 : maxHits) /
                   sizeof(std::uint32_t) * units.clear +
               rows.rows.size() * units.row + topEntries * (units.sort + units.merge);
    }

    int poolSize() const { return poolSize_; }
    int maxHits() const { return maxHits_; }
    bool sparseTop() const { return sparseTop_; }
    Sum rows() const { return rows_; }
    const std::uint32_t* dense(int j) const { return dense_[Slot(j)].get(); }

    // The first sparse entry at or after rank.
    std::size_t sparseFrom(std::uint64_t rank) const {
        return static_cast<std::size_t>(
            std::lower_bound(sparseRank_.begin(), sparseRank_.end(), rank) - sparseRank_.begin());
    }
    const std::uint64_t* sparseRanks() const { return sparseRank_.data(); }
    const std::uint32_t* sparseCounts() const { return sparseCount_.data(); }

    // The count of one subset given by its size and rank.
    std::uint32_t count(int size, std::uint64_t rank) const {
        if (sparseTop_ && size == maxHits_) {
            const std::size_t i = sparseFrom(rank);
            return sparseRank_[i] == rank ? sparseCount_[i] : 0;
        }
        return dense_[Slot(size)][rank];
    }

private:
    // A cleared entry, a row counted, a listed subset sorted and merged.
    struct Units {
        explicit Units(std::uint64_t subsetsPerRow)
            : row(static_cast<std::uint64_t>(static_cast<double>(subsetsPerRow) * kFillNs)) {}
        std::uint64_t clear = static_cast<std::uint64_t>(kClearNs * sizeof(std::uint32_t)) + 1;
        std::uint64_t row;
        std::uint64_t sort = static_cast<std::uint64_t>(kSortNs * 3 / 4);
        std::uint64_t merge = static_cast<std::uint64_t>(kSortNs / 4);
    };

    // Counts every subset of up to maxHits_ numbers of the row; the threads share the tables.
    void addRow(const NumberSet& row, std::vector<std::uint64_t>& topRanks) {
        const std::vector<int> e = Elements(row);
        ForEachSubset(e.data(), static_cast<int>(e.size()), maxHits_,
                      [&](int size, std::uint64_t rank) {
                          if (sparseTop_ && size == maxHits_) {
                              topRanks.push_back(rank);
                          } else {
                              std::atomic_ref<std::uint32_t>(dense_[Slot(size)][rank])
                                  .fetch_add(1, std::memory_order_relaxed);
                          }
                          return true;
                      });
    }

    // The runs of all threads into one list, equal ranks counted together; false when stopped.
    bool merge(std::vector<SortedRuns>& runs, EvalControl& control, std::uint64_t unitsPerEntry) {
        struct Cursor {
            const std::uint64_t* at;
            const std::uint64_t* end;
        };
        std::vector<Cursor> heap;
        for (const SortedRuns& own : runs) {
            std::size_t begin = 0;
            for (const std::size_t end : own.ends) {
                heap.push_back({own.ranks.data() + begin, own.ranks.data() + end});
                begin = end;
            }
        }
        const auto later = [](const Cursor& a, const Cursor& b) { return *a.at > *b.at; };
        std::make_heap(heap.begin(), heap.end(), later);
        std::uint64_t since = 0;
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end(), later);
            Cursor& cursor = heap.back();
            const std::uint64_t rank = *cursor.at++;
            if (cursor.at == cursor.end) {
                heap.pop_back();
            } else {
                std::push_heap(heap.begin(), heap.end(), later);
            }
            if (!sparseRank_.empty() && sparseRank_.back() == rank) {
                ++sparseCount_.back();
            } else {
                sparseRank_.push_back(rank);
                sparseCount_.push_back(1);
            }
            if (++since == kRunLength) {
                since = 0;
                if (!control.addPrepared(kRunLength * unitsPerEntry)) {
                    return false;
                }
            }
        }
        control.addPrepared(since * unitsPerEntry);
        return true;
    }

    int poolSize_;
    int maxHits_;
    bool sparseTop_;
    bool complete_ = false;
    Sum rows_ = 0;
    std::vector<std::unique_ptr<std::uint32_t[]>> dense_;  // [j][rank], j = 1..
    std::vector<std::uint64_t> sparseRank_;
    std::vector<std::uint32_t> sparseCount_;
};

// ---- Enumeration in blocks -------------------------------------------------------------------

// A block of draws: the `fixed` largest elements are given; the rest runs over every choice
// below the smallest of them.
struct Block {
    std::array<std::int8_t, kMaxDrawSize> top{};
    int fixed = 0;
    std::uint64_t draws = 0;
};

// Blocks of at most about 1/512 of the draws, in an order spread by the seed, so that a stopped
// run has seen draws from everywhere. At least the two smallest elements stay free.
std::vector<Block> Blocks(int poolSize, int drawSize, std::uint64_t seed) {
    const std::uint64_t total = kChoose(poolSize, drawSize);
    int fixed = 0;
    while (fixed < drawSize - 2 &&
           kChoose(poolSize - fixed, drawSize - fixed) > std::max<std::uint64_t>(total / 512, 1)) {
        ++fixed;
    }
    std::vector<Block> blocks;
    Block block;
    block.fixed = fixed;
    const auto recurse = [&](auto& self, int level, int below) -> void {
        if (level == fixed) {
            const int smallest = fixed == 0 ? poolSize : block.top[Slot(fixed - 1)];
            block.draws = kChoose(smallest, drawSize - fixed);
            blocks.push_back(block);
            return;
        }
        for (int y = drawSize - level - 1; y < below; ++y) {
            block.top[Slot(level)] = static_cast<std::int8_t>(y);
            self(self, level + 1, y);
        }
    };
    recurse(recurse, 0, poolSize);
    SampleRandom random(seed);
    for (std::size_t i = blocks.size(); i > 1; --i) {
        std::swap(blocks[i - 1], blocks[random.below(static_cast<std::uint32_t>(i))]);
    }
    return blocks;
}

// Runs the blocks on the threads, each with its own figures, merged at the end. The work adds its
// draws to the progress and looks at the stop flag every step, within a block too.
template <typename Work>
LottoOdds RunBlocks(const std::vector<Block>& blocks, int maxHits, EvalControl& control,
                    const Work& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stopped{false};
    Totals total;
    std::mutex mutex;
    const auto thread = [&] {
        Totals totals;
        auto state = work.start();
        for (;;) {
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= blocks.size()) {
                break;
            }
            if (control.stopped() || !work.run(state, blocks[i], totals, control)) {
                stopped = true;
                break;
            }
        }
        const std::lock_guard lock(mutex);
        total.merge(totals);
    };
    const int threads = std::min<int>(ThreadCount(), static_cast<int>(blocks.size()));
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(thread);
    }
    thread();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    LottoOdds odds;
    total.into(odds, maxHits);
    odds.stopped = stopped;
    odds.exact = !odds.stopped;
    return odds;
}

class CompareWork {
public:
    CompareWork(const LottoRows& rows, int drawSize)
        : rows_(BitsOf(rows)),
          poolSize_(rows.poolSize),
          drawSize_(drawSize),
          maxHits_(MaxHits(rows, drawSize)),
          drawsPerStep_(ComparedDrawsPerStep(rows)) {}

    struct State {};
    State start() const { return {}; }

    // False when stopped within the block.
    bool run(State&, const Block& block, Totals& totals, EvalControl& control) const {
        NumberSet fixed;
        for (int i = 0; i < block.fixed; ++i) {
            fixed.add(block.top[Slot(i)] + 1);
        }
        const int free = drawSize_ - block.fixed;
        const int limit = block.fixed == 0 ? poolSize_ : block.top[Slot(block.fixed - 1)];
        std::array<int, kMaxDrawSize> pick{};
        std::iota(pick.begin(), pick.begin() + free, 0);
        std::array<std::uint32_t, kHitSlots> counts{};
        std::uint64_t since = 0;
        for (;;) {
            NumberSet draw = fixed;
            for (int i = 0; i < free; ++i) {
                draw.add(pick[Slot(i)] + 1);
            }
            CompareDraw(rows_, draw, counts);
            AddCounts(totals, counts, maxHits_);
            if (++since == drawsPerStep_) {
                since = 0;
                if (!control.addDone(drawsPerStep_)) {
                    return false;
                }
            }
            int i = free - 1;
            while (i >= 0 && pick[Slot(i)] == limit - (free - i)) {
                --i;
            }
            if (i < 0) {
                control.addDone(since);
                return true;
            }
            ++pick[Slot(i)];
            for (int j = i + 1; j < free; ++j) {
                pick[Slot(j)] = pick[Slot(j - 1)] + 1;
            }
        }
    }

private:
    RowBits rows_;
    int poolSize_;
    int drawSize_;
    int maxHits_;
    std::uint64_t drawsPerStep_;
};

// The chosen elements Q of one level: the subsets T of Q that can still grow, with |T| and
// B_u(T) for u = 1..shifts (shifts: the elements still to choose), and S_j(Q).
struct Level {
    int shifts = 0;
    std::vector<std::uint8_t> size;
    std::vector<std::uint64_t> base;  // base[t * shifts + u - 1] = B_u(T)
    std::array<Sum, kHitSlots> s{};
    int smallest = 0;  // min(Q), or the pool size when Q is empty

    std::uint64_t b(std::size_t t, int u) const {
        return base[t * static_cast<std::size_t>(shifts) + static_cast<std::size_t>(u - 1)];
    }
};

class SubsetWork {
public:
    SubsetWork(const SubsetTables& tables, int drawSize) : tables_(tables), drawSize_(drawSize) {}

    struct State {
        std::vector<Level> levels;  // [q]: after q chosen elements
        std::vector<Sum> r;         // R_j(f) at [j * pool + f]
        SumBatch batch;
        std::size_t cursor = 0;    // in the sparse list; ranks only grow within a block
        Totals* totals = nullptr;  // of the thread, for full batches
        EvalControl* control = nullptr;
        std::uint64_t since = 0;  // draws not yet in the progress
        bool stopped = false;
    };

    State start() const {
        State state{{}, {}, SumBatch(tables_.maxHits()), 0, nullptr, nullptr, 0, false};
        state.levels.resize(Slot(drawSize_ + 1));
        state.r.resize(kHitSlots * static_cast<std::size_t>(tables_.poolSize()));
        return state;
    }

    // False when stopped within the block.
    bool run(State& state, const Block& block, Totals& totals, EvalControl& control) const {
        state.totals = &totals;
        state.control = &control;
        Level& root = state.levels[0];
        root.shifts = drawSize_;
        root.size.assign(1, 0);
        root.base.assign(Slot(drawSize_), 0);
        root.s = {};
        root.s[0] = tables_.rows();
        root.smallest = tables_.poolSize();
        for (int q = 0; q < block.fixed; ++q) {
            extend(state.levels[Slot(q)], block.top[Slot(q)], state.levels[Slot(q + 1)]);
        }
        if (drawSize_ == 1) {
            single(state);
        } else {
            if (tables_.sparseTop()) {
                // The block's first draw: its fixed elements above 0, 1, ... in rank order.
                std::uint64_t first = 0;
                for (int k = 0; k < block.fixed; ++k) {
                    first += kChoose(block.top[Slot(k)], drawSize_ - k);
                }
                state.cursor = tables_.sparseFrom(first);
            }
            descend(state, block.fixed);
        }
        state.batch.flush(totals);
        control.addDone(state.since);
        state.since = 0;
        return !state.stopped;
    }

private:
    // S_j(Q + y) for one y.
    void sumsAt(const Level& level, int y, std::array<Sum, kHitSlots>& s) const {
        s = level.s;
        for (std::size_t t = 0; t < level.size.size(); ++t) {
            const int j = level.size[t] + 1;
            s[Slot(j)] += tables_.count(j, level.b(t, 1) + static_cast<std::uint64_t>(y));
        }
    }

    // The level after choosing y below the elements of `level`.
    void extend(const Level& level, int y, Level& child) const {
        sumsAt(level, y, child.s);
        const int shifts = level.shifts - 1;
        const std::size_t count = level.size.size();
        child.shifts = shifts;
        child.smallest = y;
        child.size.clear();
        child.base.clear();
        // Subsets of Q keep their bases; subsets with y added get the next ones.
        for (std::size_t t = 0; t < count; ++t) {
            child.size.push_back(level.size[t]);
            for (int u = 1; u <= shifts; ++u) {
                child.base.push_back(level.b(t, u));
            }
        }
        for (std::size_t t = 0; t < count; ++t) {
            const int size = level.size[t] + 1;
            if (size > tables_.maxHits() - 1) {
                continue;
            }
            child.size.push_back(static_cast<std::uint8_t>(size));
            for (int u = 1; u <= shifts; ++u) {
                child.base.push_back(kChoose(y, u + 1) + level.b(t, u + 1));
            }
        }
    }

    void descend(State& state, int q) const {
        if (q == drawSize_ - 2) {
            lastTwo(state, state.levels[Slot(q)]);
            return;
        }
        const Level& level = state.levels[Slot(q)];
        const int low = drawSize_ - q - 1;  // the smallest y that leaves room below it
        for (int y = low; y < level.smallest && !state.stopped; ++y) {
            extend(level, y, state.levels[Slot(q + 1)]);
            descend(state, q + 1);
        }
    }

    // Draws of one element: S_1 is the count of that number.
    void single(State& state) const {
        SumBatch& batch = state.batch;
        for (int f = 0; f < tables_.poolSize(); ++f) {
            if (batch.room() == 0) {
                batch.flush(*state.totals);
            }
            batch.column(0)[batch.fill()] = tables_.rows();
            batch.column(1)[batch.fill()] = tables_.count(1, static_cast<std::uint64_t>(f));
            batch.advance(1);
        }
        state.since += static_cast<std::uint64_t>(tables_.poolSize());
    }

    // Every e > f below min(Q): S(Q + e + f) = S(Q + e) + R(f) + sum_T count(T + e + f).
    void lastTwo(State& state, const Level& level) const {
        const int maxHits = tables_.maxHits();
        const auto pool = static_cast<std::size_t>(tables_.poolSize());
        const int below = level.smallest;
        const std::size_t subsets = level.size.size();
        // R_j(f) for every f below min(Q).
        Sum* r = state.r.data();
        for (int j = 1; j <= maxHits; ++j) {
            std::fill_n(r + Slot(j) * pool, below, 0);
        }
        for (std::size_t t = 0; t < subsets; ++t) {
            const int j = level.size[t] + 1;
            Sum* into = r + Slot(j) * pool;
            const std::uint64_t base = level.b(t, 1);
            const std::uint32_t* from = tables_.dense(j) + base;
            for (int f = 0; f < below; ++f) {
                into[f] += from[f];
            }
        }
        SumBatch& batch = state.batch;
        std::array<Sum, kHitSlots> se{};
        for (int e = 1; e < below; ++e) {
            if (batch.room() < e) {
                batch.flush(*state.totals);
            }
            sumsAt(level, e, se);
            const int at = batch.fill();
            for (int j = 0; j <= maxHits; ++j) {
                Sum* column = batch.column(j) + at;
                const Sum* rj = r + Slot(j) * pool;
                const Sum value = se[Slot(j)];
                if (j == 0) {
                    std::fill_n(column, e, value);
                    continue;
                }
                for (int f = 0; f < e; ++f) {
                    column[f] = value + rj[f];
                }
            }
            const std::uint64_t choose2 = kChoose(e, 2);
            for (std::size_t t = 0; t < subsets; ++t) {
                const int j = level.size[t] + 2;
                if (j > maxHits) {
                    continue;
                }
                Sum* column = batch.column(j) + at;
                const std::uint64_t base = choose2 + level.b(t, 2);
                if (tables_.sparseTop() && j == maxHits) {
                    const std::uint64_t* ranks = tables_.sparseRanks();
                    const std::uint32_t* counts = tables_.sparseCounts();
                    std::size_t i = state.cursor;
                    while (ranks[i] < base) {
                        ++i;
                    }
                    for (; ranks[i] < base + static_cast<std::uint64_t>(e); ++i) {
                        column[ranks[i] - base] += counts[i];
                    }
                    state.cursor = i;
                    continue;
                }
                const std::uint32_t* from = tables_.dense(j) + base;
                for (int f = 0; f < e; ++f) {
                    column[f] += from[f];
                }
            }
            batch.advance(e);
        }
        state.since += kChoose(below, 2);
        if (state.since >= kDrawsPerStep) {
            state.stopped = !state.control->addDone(state.since);
            state.since = 0;
        }
    }

    const SubsetTables& tables_;
    int drawSize_;
};

// ---- Sampled draws ---------------------------------------------------------------------------

// For sampling the largest subsets are looked up one at a time, so a sorted list always serves.
bool SampleSparseTop(const LottoRows& rows, int drawSize) {
    const int m = MaxHits(rows, drawSize);
    const double entries =
        static_cast<double>(rows.rows.size()) * static_cast<double>(kChoose(rows.rowSize, m));
    const double dense = static_cast<double>(DenseBytes(rows.poolSize, m, m));
    return dense > static_cast<double>(kTableBudget) / 2 || entries * 64.0 < dense;
}

// S_j of one draw from the counts of all its subsets of up to maxHits elements.
void LookUpSums(const SubsetTables& tables, const NumberSet& draw, SumBatch& batch) {
    const int maxHits = tables.maxHits();
    std::array<int, kMaxDrawSize> e{};
    int size = 0;
    draw.forEach([&](int n) { e[Slot(size++)] = n - 1; });
    std::array<Sum, kHitSlots> s{};
    s[0] = tables.rows();
    ForEachSubset(e.data(), size, maxHits, [&](int subsetSize, std::uint64_t rank) {
        const std::uint32_t count = tables.count(subsetSize, rank);
        s[Slot(subsetSize)] += count;
        // A subset no row holds has no superset a row holds.
        return count != 0;
    });
    const int at = batch.fill();
    for (int j = 0; j <= maxHits; ++j) {
        batch.column(j)[at] = s[Slot(j)];
    }
    batch.advance(1);
}

// ---- What a method costs ---------------------------------------------------------------------

// Additions of the subset method for one enumerated draw (see lastTwo).
double AddsPerDraw(int maxHits, int drawSize) {
    double adds = static_cast<double>(maxHits + 1) * static_cast<double>(maxHits + 4) / 2.0;
    for (int j = 0; j <= maxHits - 2 && j <= drawSize - 2; ++j) {
        adds += static_cast<double>(kChoose(std::max(drawSize - 2, 0), j));
    }
    return adds;
}

// Subsets of one sampled draw looked up at most.
std::uint64_t LookupsPerDraw(int maxHits, int drawSize) {
    std::uint64_t lookups = 0;
    for (int j = 1; j <= maxHits; ++j) {
        lookups += kChoose(drawSize, j);
    }
    return lookups;
}

// The thousandths of the work that building the tables takes, for the progress.
int TablesShare(double buildNs, double drawsNs) {
    const double all = buildNs + drawsNs;
    return all > 0 ? static_cast<int>(std::lround(1000.0 * buildNs / all)) : 0;
}

struct Cost {
    double compareSeconds = 0;
    double subsetSeconds = 0;
    std::uint64_t subsetBytes = 0;
    double sampleCompareSeconds = 0;  // per million sampled draws
    double sampleLookupSeconds = 0;
};

Cost EstimateCost(const LottoRows& rows, int drawSize) {
    Cost cost;
    const double threads = ThreadCount();
    const double draws = static_cast<double>(Binomial(rows.poolSize, drawSize));
    const double rowCount = static_cast<double>(rows.rows.size());
    const int m = MaxHits(rows, drawSize);
    cost.compareSeconds = draws * (rowCount * kCompareNs + kDrawNs) * 1e-9 / threads;

    const bool sparse = UseSparseTop(rows, drawSize);
    double subsetsPerRow = 0;
    for (int j = 1; j <= m; ++j) {
        subsetsPerRow += static_cast<double>(kChoose(rows.rowSize, j));
    }
    const double sparseEntries =
        sparse ? rowCount * static_cast<double>(kChoose(rows.rowSize, m)) : 0.0;
    const std::uint64_t dense = DenseBytes(rows.poolSize, 1, sparse ? m - 1 : m);
    cost.subsetBytes = dense + static_cast<std::uint64_t>(sparseEntries) * 12;
    const double perDraw = AddsPerDraw(m, drawSize);
    const double build = rowCount * subsetsPerRow * kFillNs +
                         static_cast<double>(dense) * kClearNs + sparseEntries * kSortNs;
    cost.subsetSeconds = (draws * perDraw * kAddNs + build) / threads * 1e-9;
    // The sums are 32-bit: S_j is at most rows * C(m, j).
    const bool sumsFit = rowCount * static_cast<double>(kChoose(m, m / 2)) < 4294967296.0;
    if (cost.subsetBytes > kTableBudget || draws > 1e15 || !sumsFit) {
        cost.subsetSeconds = 1e30;
    }

    cost.sampleCompareSeconds = 1e6 * (rowCount * kCompareNs + kDrawNs) * 1e-9 / threads;
    const auto lookups = static_cast<double>(LookupsPerDraw(m, drawSize));
    const std::uint64_t sampleDense = DenseBytes(rows.poolSize, 1, m - 1);
    // A list of the largest subsets takes 12 bytes an entry, as for counting every draw.
    const double sampleTop = SampleSparseTop(rows, drawSize)
                                 ? rowCount * static_cast<double>(kChoose(rows.rowSize, m)) * 12.0
                                 : static_cast<double>(DenseBytes(rows.poolSize, m, m));
    const bool sampleFits =
        static_cast<double>(sampleDense) + sampleTop <= 1.5 * static_cast<double>(kTableBudget);
    cost.sampleLookupSeconds = !sampleFits || !sumsFit
                                   ? 1e30
                                   : (1e6 * lookups * kLookupNs / threads +
                                      (rowCount * subsetsPerRow * (kFillNs + kSortNs / 4) +
                                       static_cast<double>(sampleDense) * kClearNs) /
                                          10.0) *
                                         1e-9;
    return cost;
}

// Stopped while the tables were built: no draw counted.
LottoOdds StoppedBeforeDraws(int maxHits) {
    LottoOdds odds;
    Totals().into(odds, maxHits);
    odds.stopped = true;
    odds.exact = false;
    return odds;
}

}  // namespace

LottoOddsPlan PlanLottoOdds(const LottoRows& rows, int drawSize) {
    LottoOddsPlan plan;
    if (rows.rows.empty() || drawSize < 1 || drawSize > std::min(rows.poolSize, kMaxDrawSize)) {
        return plan;
    }
    const Cost cost = EstimateCost(rows, drawSize);
    plan.exactMethod =
        cost.compareSeconds <= cost.subsetSeconds ? LottoMethod::Compare : LottoMethod::SubsetSums;
    plan.exactSeconds = std::min(cost.compareSeconds, cost.subsetSeconds);
    plan.exactBytes = plan.exactMethod == LottoMethod::SubsetSums ? cost.subsetBytes : 0;
    // Counting every draw is done when it takes about a second, or no longer than the sample.
    const double sampleSeconds =
        std::min(cost.sampleCompareSeconds, cost.sampleLookupSeconds) * kSampleMillions;
    plan.exactFeasible = plan.exactSeconds <= std::max(kExactSeconds, sampleSeconds);
    plan.sampleMethod = cost.sampleLookupSeconds < cost.sampleCompareSeconds
                            ? LottoMethod::SubsetSums
                            : LottoMethod::Compare;
    return plan;
}

LottoOdds EnumerateLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                             const LottoOddsPlan& plan, std::uint64_t seed) {
    const int maxHits = MaxHits(rows, drawSize);
    control.total.store(Binomial(rows.poolSize, drawSize), std::memory_order_relaxed);
    const std::vector<Block> blocks = Blocks(rows.poolSize, drawSize, seed);
    if (plan.exactMethod == LottoMethod::Compare) {
        return RunBlocks(blocks, maxHits, control, CompareWork(rows, drawSize));
    }
    const bool sparse = UseSparseTop(rows, drawSize);
    control.prepareShare.store(
        TablesShare(static_cast<double>(SubsetTables::BuildUnits(rows, drawSize, sparse)),
                    static_cast<double>(Binomial(rows.poolSize, drawSize)) *
                        AddsPerDraw(maxHits, drawSize) * kAddNs),
        std::memory_order_relaxed);
    const SubsetTables tables(rows, drawSize, sparse, control);
    if (!tables.complete()) {
        return StoppedBeforeDraws(maxHits);
    }
    return RunBlocks(blocks, maxHits, control, SubsetWork(tables, drawSize));
}

LottoOdds SampleLottoOdds(const LottoRows& rows, int drawSize, EvalControl& control,
                          const LottoOddsPlan& plan, std::uint64_t seed, std::uint64_t draws) {
    const int maxHits = MaxHits(rows, drawSize);
    control.total.store(draws, std::memory_order_relaxed);
    const bool lookups = plan.sampleMethod == LottoMethod::SubsetSums;
    const RowBits bits = lookups ? RowBits{} : BitsOf(rows);
    std::optional<SubsetTables> tables;
    if (lookups) {
        const bool sparse = SampleSparseTop(rows, drawSize);
        control.prepareShare.store(
            TablesShare(static_cast<double>(SubsetTables::BuildUnits(rows, drawSize, sparse)),
                        static_cast<double>(draws) *
                            static_cast<double>(LookupsPerDraw(maxHits, drawSize)) * kLookupNs),
            std::memory_order_relaxed);
        tables.emplace(rows, drawSize, sparse, control);
        if (!tables->complete()) {
            return StoppedBeforeDraws(maxHits);
        }
    }
    const int threads = ThreadCount();
    std::atomic<bool> stopped{false};
    Totals total;
    std::mutex mutex;
    const auto thread = [&](int index) {
        // Every thread its own stream of draws and its share of the count.
        SampleRandom random(seed + 0x632BE59BD9B4E019ULL * static_cast<std::uint64_t>(index));
        std::uint64_t quota = draws / static_cast<std::uint64_t>(threads) +
                              (index == 0 ? draws % static_cast<std::uint64_t>(threads) : 0);
        Totals totals;
        SumBatch batch(maxHits);
        std::array<std::uint32_t, kHitSlots> counts{};
        // About a millisecond of work between looks at the stop flag and the progress.
        const std::uint64_t kStep =
            lookups ? std::clamp<std::uint64_t>(kLookupsPerStep / LookupsPerDraw(maxHits, drawSize),
                                                1, 4096)
                    : ComparedDrawsPerStep(rows);
        while (quota > 0) {
            if (control.stopped()) {
                stopped = true;
                break;
            }
            const std::uint64_t step = std::min(quota, kStep);
            for (std::uint64_t i = 0; i < step; ++i) {
                const NumberSet draw = random.draw(rows.poolSize, drawSize);
                if (lookups) {
                    if (batch.room() == 0) {
                        batch.flush(totals);
                    }
                    LookUpSums(*tables, draw, batch);
                } else {
                    CompareDraw(bits, draw, counts);
                    AddCounts(totals, counts, maxHits);
                }
            }
            quota -= step;
            control.addDone(step);
        }
        batch.flush(totals);
        const std::lock_guard lock(mutex);
        total.merge(totals);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(thread, t);
    }
    thread(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    LottoOdds odds;
    total.into(odds, maxHits);
    odds.stopped = stopped;
    odds.exact = false;
    return odds;
}

}  // namespace losfix::eval
