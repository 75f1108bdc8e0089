#include "core/lottery/RowColumns.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace losfix {

namespace {

#if defined(__GNUC__) || defined(__clang__)
#define LOSFIX_VECTORS 1
#define LOSFIX_ALWAYS_INLINE inline __attribute__((always_inline))
// Loops over the inputs must unroll: their vectors then stay in registers.
#define LOSFIX_UNROLL _Pragma("GCC unroll 16")
#else
#define LOSFIX_ALWAYS_INLINE inline
#define LOSFIX_UNROLL
#endif

// Wider registers are chosen at run time, so that the program still runs on every x86-64. Not on
// Windows: its 64-bit stack is aligned to 16 bytes only, and GCC may spill 32-byte registers there
// with aligned moves.
#if defined(LOSFIX_VECTORS) && defined(__x86_64__) && !defined(_WIN32)
#define LOSFIX_WIDE_VECTORS 1
#include <immintrin.h>
#endif

// Words per step of the count: the test stops at the first step with a hit.
constexpr std::size_t kBlockWords = RowColumns::kRowsPerBlock / 64;

#ifdef LOSFIX_VECTORS
using Vec2 = std::uint64_t __attribute__((vector_size(16)));
#endif
#ifdef LOSFIX_WIDE_VECTORS
using Vec4 = std::uint64_t __attribute__((vector_size(32)));
#endif

template <typename V>
constexpr std::size_t kLanes = sizeof(V) / 8;

// Vectors go in and out by reference only: passed by value, 32- and 64-byte vectors would take
// another calling convention in functions compiled without AVX.
#ifdef LOSFIX_VECTORS
// A vector at any word: packed, so that the compiler loads it unaligned, and allowed to alias the
// words.
template <typename V>
struct __attribute__((packed, may_alias)) Loose {
    V v;
};
#endif

template <typename V>
LOSFIX_ALWAYS_INLINE void Load(V& v, const std::uint64_t* words) {
#ifdef LOSFIX_VECTORS
    v = reinterpret_cast<const Loose<V>*>(words)->v;
#else
    std::memcpy(&v, words, sizeof v);
#endif
}

template <typename V>
LOSFIX_ALWAYS_INLINE void Splat(V& v, std::uint64_t word) {
    if constexpr (kLanes<V> == 1) {
        v = word;
    } else {
        for (std::size_t i = 0; i < kLanes<V>; ++i) {
            v[i] = word;
        }
    }
}

template <typename V>
LOSFIX_ALWAYS_INLINE bool Any(const V& v) {
    if constexpr (kLanes<V> == 1) {
        return v != 0;
    } else {
        std::uint64_t any = 0;
        for (std::size_t i = 0; i < kLanes<V>; ++i) {
            any |= v[i];
        }
        return any != 0;
    }
}

// The sum of N one-bit inputs at every bit position, as bits: out[j] holds bit j of the sums.
// A chain of full adders folds the inputs of one weight into one bit and passes N / 2 carries on
// to the next weight.
template <typename V, int N>
LOSFIX_ALWAYS_INLINE void Sum(const V* in, V* out) {
    if constexpr (N == 1) {
        out[0] = in[0];
    } else if constexpr (N > 1) {
        V carries[N / 2];
        V sum = in[0];
        int carry = 0;
        int i = 1;
        LOSFIX_UNROLL
        for (; i + 1 < N; i += 2) {
            const V half = sum ^ in[i];
            carries[carry++] = (sum & in[i]) | (half & in[i + 1]);
            sum = half ^ in[i + 1];
        }
        if (i < N) {
            carries[carry++] = sum & in[i];
            sum ^= in[i];
        }
        out[0] = sum;
        Sum<V, N / 2>(carries, out + 1);
    }
}

// Whether a row holds at least the threshold of the N columns: the number of blocks read up to
// and with the first such row, or 0 if there is none.
template <typename V, int N>
LOSFIX_ALWAYS_INLINE std::size_t AnyAtLeast(const std::uint64_t* const* columns, std::size_t words,
                                            unsigned threshold) {
    constexpr int kBits = std::bit_width(static_cast<unsigned>(N));
    static_assert(kBlockWords % kLanes<V> == 0);
    // Where the threshold has a 0 bit, a 1 bit of the sum alone is enough at that weight.
    V zeroBit[kBits];
    LOSFIX_UNROLL
    for (int j = 0; j < kBits; ++j) {
        Splat(zeroBit[j], ((threshold >> j) & 1U) != 0 ? 0 : ~std::uint64_t{0});
    }
    for (std::size_t block = 0; block < words; block += kBlockWords) {
        V hit;
        Splat(hit, 0);
        for (std::size_t w = block; w < block + kBlockWords; w += kLanes<V>) {
            V in[N];
            LOSFIX_UNROLL
            for (int i = 0; i < N; ++i) {
                Load(in[i], columns[i] + w);
            }
            V sum[kBits];
            Sum<V, N>(in, sum);
            // sum >= threshold, from the lowest bit up.
            V atLeast;
            Splat(atLeast, ~std::uint64_t{0});
            LOSFIX_UNROLL
            for (int j = 0; j < kBits; ++j) {
                atLeast = (sum[j] & (atLeast | zeroBit[j])) | (atLeast & zeroBit[j]);
            }
            hit |= atLeast;
        }
        if (Any(hit)) {
            return block / kBlockWords + 1;
        }
    }
    return 0;
}

using Kernel = std::size_t (*)(const std::uint64_t* const*, std::size_t, unsigned);
using KernelTable = std::array<Kernel, RowColumns::kMaxNumbers + 1>;

#ifdef LOSFIX_VECTORS
using BaseVector = Vec2;  // SSE2 on x86-64, NEON on 64-bit ARM
#else
using BaseVector = std::uint64_t;
#endif

template <int N>
std::size_t BaseKernel(const std::uint64_t* const* columns, std::size_t words, unsigned threshold) {
    return AnyAtLeast<BaseVector, N>(columns, words, threshold);
}

#ifdef LOSFIX_WIDE_VECTORS
template <int N>
__attribute__((target("avx2"))) std::size_t Avx2Kernel(const std::uint64_t* const* columns,
                                                       std::size_t words, unsigned threshold) {
    return AnyAtLeast<Vec4, N>(columns, words, threshold);
}

#define LOSFIX_AVX512 __attribute__((target("avx512f"), always_inline)) inline

// AVX-512 adds three-input logic: a full adder is two instructions, and a block is one register
// a column, tested in one step.
template <int N>
LOSFIX_AVX512 void Sum512(const __m512i* in, __m512i* out) {
    if constexpr (N == 1) {
        out[0] = in[0];
    } else if constexpr (N > 1) {
        constexpr int kXor3 = 0x96;
        constexpr int kMajority = 0xE8;
        __m512i carries[N / 2];
        __m512i sum = in[0];
        int carry = 0;
        int i = 1;
        LOSFIX_UNROLL
        for (; i + 1 < N; i += 2) {
            carries[carry++] = _mm512_ternarylogic_epi64(sum, in[i], in[i + 1], kMajority);
            sum = _mm512_ternarylogic_epi64(sum, in[i], in[i + 1], kXor3);
        }
        if (i < N) {
            carries[carry++] = _mm512_and_si512(sum, in[i]);
            sum = _mm512_xor_si512(sum, in[i]);
        }
        out[0] = sum;
        Sum512<N / 2>(carries, out + 1);
    }
}

template <int N>
__attribute__((target("avx512f"))) std::size_t Avx512Kernel(const std::uint64_t* const* columns,
                                                            std::size_t words, unsigned threshold) {
    static_assert(kBlockWords == 8);
    constexpr int kBits = std::bit_width(static_cast<unsigned>(N));
    constexpr int kMajority = 0xE8;
    // Local copies: the loads could alias the caller's array, which would be read again each
    // block.
    const std::uint64_t* column[N];
    LOSFIX_UNROLL
    for (int i = 0; i < N; ++i) {
        column[i] = columns[i];
    }
    // sum >= threshold from the lowest bit up is a majority of the sum's bit, the result so far
    // and whether the threshold's bit is 0.
    __m512i zeroBit[kBits];
    LOSFIX_UNROLL
    for (int j = 0; j < kBits; ++j) {
        zeroBit[j] = _mm512_set1_epi64(((threshold >> j) & 1U) != 0 ? 0 : -1);
    }
    for (std::size_t w = 0; w < words; w += kBlockWords) {
        __m512i in[N];
        LOSFIX_UNROLL
        for (int i = 0; i < N; ++i) {
            in[i] = _mm512_loadu_si512(column[i] + w);
            // Kept in a register: folded into the instructions, a column used by two of them
            // would be loaded twice, and loads are what limits the count.
            __asm__("" : "+v"(in[i]));
        }
        __m512i sum[kBits];
        Sum512<N>(in, sum);
        __m512i atLeast = _mm512_or_si512(sum[0], zeroBit[0]);
        LOSFIX_UNROLL
        for (int j = 1; j < kBits; ++j) {
            atLeast = _mm512_ternarylogic_epi64(sum[j], atLeast, zeroBit[j], kMajority);
        }
        if (_mm512_test_epi64_mask(atLeast, atLeast) != 0) {
            return w / kBlockWords + 1;
        }
    }
    return 0;
}
#endif

template <int... N>
KernelTable BaseTable(std::integer_sequence<int, N...>) {
    return {nullptr, &BaseKernel<N + 1>...};
}

#ifdef LOSFIX_WIDE_VECTORS
template <int... N>
KernelTable Avx2Table(std::integer_sequence<int, N...>) {
    return {nullptr, &Avx2Kernel<N + 1>...};
}

template <int... N>
KernelTable Avx512Table(std::integer_sequence<int, N...>) {
    return {nullptr, &Avx512Kernel<N + 1>...};
}
#endif

struct Dispatch {
    KernelTable kernels;
    const char* name;
    double blockCost;
};

// Every instruction set this processor can run, the widest first.
std::vector<Dispatch> Supported() {
    const auto sizes = std::make_integer_sequence<int, RowColumns::kMaxNumbers>{};
    std::vector<Dispatch> supported;
#ifdef LOSFIX_WIDE_VECTORS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) {
        supported.push_back({Avx512Table(sizes), "AVX-512", 0.9});
    }
    if (__builtin_cpu_supports("avx2")) {
        supported.push_back({Avx2Table(sizes), "AVX2", 1.2});
    }
#endif
#if defined(LOSFIX_VECTORS) && defined(__x86_64__)
    supported.push_back({BaseTable(sizes), "SSE2", 2.0});
#else
    supported.push_back({BaseTable(sizes), "portable", 6.0});
#endif
    return supported;
}

const std::vector<Dispatch>& AllSupported() {
    static const std::vector<Dispatch> supported = Supported();
    return supported;
}

const Dispatch* chosen = nullptr;

const Dispatch& Chosen() {
    if (chosen == nullptr) {
        chosen = &AllSupported().front();
    }
    return *chosen;
}

}  // namespace

void RowColumns::add(const NumberSet& row) {
    if (rows_ == wordsPerColumn_ * 64) {
        grow();
    }
    const std::size_t word = rows_ / 64;
    const std::uint64_t bit = std::uint64_t{1} << (rows_ % 64);
    row.forEach([&](int n) {
        if (n >= 0 && n < NumberSet::kCapacity) {
            bits_[static_cast<std::size_t>(n) * stride_ + word] |= bit;
        }
    });
    ++rows_;
}

RowColumns::Search RowColumns::anyHolds(const int* numbers, int count, int threshold) const {
    if (rows_ == 0 || count < 1 || count > kMaxNumbers || threshold < 1 || threshold > count) {
        return {rows_ != 0 && threshold <= 0, 0};
    }
    const std::size_t words = wholeWords();
    const std::size_t read = blocksRead(numbers, count, static_cast<unsigned>(threshold), words);
    return read != 0 ? Search{true, read} : Search{false, words / kBlockWords};
}

std::size_t RowColumns::wholeWords() const {
    // Whole blocks: the bits past the last row are 0 and count for nothing.
    return (rows_ + 64 * kBlockWords - 1) / (64 * kBlockWords) * kBlockWords;
}

std::size_t RowColumns::blocksRead(const int* numbers, int count, unsigned threshold,
                                   std::size_t words) const {
    std::array<const std::uint64_t*, kMaxNumbers> columns;
    for (int i = 0; i < count; ++i) {
        columns[static_cast<std::size_t>(i)] =
            bits_.data() + static_cast<std::size_t>(numbers[i]) * stride_;
    }
    return Chosen().kernels[static_cast<std::size_t>(count)](columns.data(), words, threshold);
}

// A thread on the second core that counts every other candidate of a batch beside the caller.
// Handing candidates over one by one would cost more than counting them: every exchange between
// the cores moves a cache line, and that takes a few hundred nanoseconds on a virtual machine. So
// a batch is one exchange each way: the caller publishes it, whoever claims it first (the helper,
// or the caller once done with its own half) counts the other half, and the helper hands its
// results back in one word. The caller never waits for a helper that did not come.
class RowColumns::Helper {
public:
    Helper() : thread_([this] { work(); }) {}
    ~Helper() {
        quit_.store(true);
        wake();
        thread_.join();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    static constexpr std::size_t kMaxCandidates = 128;
    // Reads of the batch number before the helper sleeps: a few hundred microseconds. No pause
    // instruction in the loops: under a hypervisor a run of them ends in an exit to the host,
    // which takes the core away for far longer than the wait.
    static constexpr int kSpins = 400000;
    // About 50 microseconds of waiting for the helper's half.
    static constexpr int kSpinsBeforeYield = 50000;

    void count(const RowColumns& columns, const int* numbers, std::size_t candidates, int count,
               unsigned threshold, std::size_t words, bool* found) {
        job_ = {&columns, numbers, candidates, count, threshold, words};
        const auto start = std::chrono::steady_clock::now();
        const bool shared = phase_ == Phase::TryShared || (phase_ == Phase::Keep && keepShared_);
        if (shared) {
            countShared(candidates, found);
        } else {
            for (std::size_t k = 0; k < candidates; ++k) {
                found[k] = job_.holds(k);
            }
        }
        const double work = static_cast<double>(candidates * words);
        nanoseconds_ +=
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                .count();
        work_ += work;
        if (--left_ == 0) {
            nextPhase();
        }
    }

private:
    // Sharing pays on an idle machine and costs on a busy one, where the helper is often not
    // there when needed. So both are timed in turn, a short while each, and the faster is kept
    // for a longer while.
    enum class Phase { TryShared, TryAlone, Keep };
    static constexpr int kTryBatches = 128;
    static constexpr int kKeepBatches = 2048;

    void nextPhase() {
        const double rate = work_ > 0 ? nanoseconds_ / work_ : 0;
        nanoseconds_ = 0;
        work_ = 0;
        switch (phase_) {
            case Phase::TryShared:
                sharedRate_ = rate;
                phase_ = Phase::TryAlone;
                left_ = kTryBatches;
                break;
            case Phase::TryAlone:
                keepShared_ = sharedRate_ < rate;
                phase_ = Phase::Keep;
                left_ = kKeepBatches;
                break;
            case Phase::Keep:
                phase_ = Phase::TryShared;
                left_ = kTryBatches;
                break;
        }
    }

    void countShared(std::size_t candidates, bool* found) {
        const std::uint64_t batch = batch_.load(std::memory_order_relaxed) + 1;
        batch_.store(batch, std::memory_order_release);
        if (sleeping_.load()) {
            wake();
        }
        for (std::size_t k = 0; k < candidates; k += 2) {
            found[k] = job_.holds(k);
        }
        std::uint64_t unclaimed = batch - 1;
        if (claimed_.compare_exchange_strong(unclaimed, batch, std::memory_order_acq_rel)) {
            for (std::size_t k = 1; k < candidates; k += 2) {
                found[k] = job_.holds(k);
            }
            return;
        }
        // A helper that the system let wait on this core would not finish before this thread
        // gives the core up.
        for (int spin = 0; done_.load(std::memory_order_acquire) != batch; ++spin) {
            if (spin >= kSpinsBeforeYield) {
                std::this_thread::yield();
            }
        }
        for (std::size_t k = 1; k < candidates; k += 2) {
            found[k] = ((results_ >> (k / 2)) & 1U) != 0;
        }
    }

private:
    struct Job {
        const RowColumns* columns;
        const int* numbers;
        std::size_t candidates;
        int count;
        unsigned threshold;
        std::size_t words;

        bool holds(std::size_t k) const {
            return columns->blocksRead(numbers + k * kMaxNumbers, count, threshold, words) != 0;
        }
    };

    // Counts the odd candidates of a published batch nobody has claimed yet.
    bool helpOnce() {
        const std::uint64_t batch = batch_.load(std::memory_order_acquire);
        std::uint64_t unclaimed = batch - 1;
        if (batch == done_.load(std::memory_order_relaxed) ||
            !claimed_.compare_exchange_strong(unclaimed, batch, std::memory_order_acq_rel)) {
            return false;
        }
        const Job& job = job_;
        std::uint64_t results = 0;
        for (std::size_t k = 1; k < job.candidates; k += 2) {
            if (job.holds(k)) {
                results |= std::uint64_t{1} << (k / 2);
            }
        }
        results_ = results;
        done_.store(batch, std::memory_order_release);
        return true;
    }

    // A mutex and condition rather than waiting on an atomic: GCC 12's atomic wait outside Linux
    // checks the value before it takes its lock, so a wake in between is lost, and a helper that
    // missed the last one would keep the destructor waiting forever.
    void wake() {
        {
            const std::lock_guard<std::mutex> lock(sleep_);
            ++wakes_;
        }
        wakeUp_.notify_one();
    }

    void work() {
        while (!quit_.load(std::memory_order_relaxed)) {
            // Batches follow each other within microseconds while a run lasts: waiting for one
            // in the system would cost more than the count.
            std::uint64_t seen = batch_.load(std::memory_order_relaxed);
            for (int spin = 0; spin < kSpins && !quit_.load(std::memory_order_relaxed); ++spin) {
                const std::uint64_t batch = batch_.load(std::memory_order_relaxed);
                if (batch != seen) {
                    seen = batch;
                    helpOnce();
                    spin = 0;
                }
            }
            std::uint64_t wakes = 0;
            {
                const std::lock_guard<std::mutex> lock(sleep_);
                wakes = wakes_;
            }
            sleeping_.store(true);
            if (!helpOnce() && !quit_.load()) {
                std::unique_lock<std::mutex> lock(sleep_);
                wakeUp_.wait(lock, [&] { return wakes_ != wakes; });
            }
            sleeping_.store(false);
        }
    }

    Job job_{};
    Phase phase_ = Phase::TryShared;
    int left_ = kTryBatches;  // batches in this phase
    bool keepShared_ = false;
    double sharedRate_ = 0;  // nanoseconds per word counted
    double nanoseconds_ = 0;
    double work_ = 0;
    std::uint64_t results_ = 0;                        // of the odd candidates, by the helper
    alignas(64) std::atomic<std::uint64_t> batch_{0};  // published by the caller
    alignas(64) std::atomic<std::uint64_t> claimed_{0};
    alignas(64) std::atomic<std::uint64_t> done_{0};  // by the helper
    std::mutex sleep_;
    std::condition_variable wakeUp_;
    std::uint64_t wakes_ = 0;  // under sleep_
    std::atomic<bool> sleeping_{false};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

namespace {
// Asked once: the system reads it from a file each time.
bool SecondCore() {
    static const bool second = std::thread::hardware_concurrency() > 1;
    return second;
}
}  // namespace

RowColumns::RowColumns() = default;
RowColumns::~RowColumns() = default;
RowColumns::RowColumns(RowColumns&&) noexcept = default;
RowColumns& RowColumns::operator=(RowColumns&&) noexcept = default;

void RowColumns::anyHoldsEach(const int* numbers, std::size_t candidates, int count, int threshold,
                              bool* found) {
    if (rows_ == 0 || count < 1 || count > kMaxNumbers || threshold < 1 || threshold > count) {
        std::fill_n(found, candidates, rows_ != 0 && threshold <= 0);
        return;
    }
    const std::size_t words = wholeWords();
    if (share_ && candidates > 1 && candidates <= Helper::kMaxCandidates && SecondCore()) {
        // The instruction set is settled here, before the helper could be the first to ask.
        Chosen();
        if (!helper_) {
            helper_ = std::make_unique<Helper>();
        }
        helper_->count(*this, numbers, candidates, count, static_cast<unsigned>(threshold), words,
                       found);
        return;
    }
    for (std::size_t k = 0; k < candidates; ++k) {
        found[k] = blocksRead(numbers + k * kMaxNumbers, count, static_cast<unsigned>(threshold),
                              words) != 0;
    }
}

void RowColumns::clear() {
    bits_.clear();
    bits_.shrink_to_fit();
    wordsPerColumn_ = 0;
    stride_ = 0;
    rows_ = 0;
}

const char* RowColumns::instructionSet() {
    return Chosen().name;
}

double RowColumns::blockCost() {
    return Chosen().blockCost;
}

std::vector<std::string> RowColumns::supportedInstructionSets() {
    std::vector<std::string> names;
    for (const Dispatch& dispatch : AllSupported()) {
        names.emplace_back(dispatch.name);
    }
    return names;
}

bool RowColumns::useInstructionSet(std::string_view name) {
    for (const Dispatch& dispatch : AllSupported()) {
        if (name == dispatch.name) {
            chosen = &dispatch;
            return true;
        }
    }
    return false;
}

void RowColumns::grow() {
    const std::size_t words = std::max<std::size_t>(2 * wordsPerColumn_, 4 * kBlockWords);
    // One cache line more than a power of two apart: columns read side by side then fall into
    // different cache sets.
    const std::size_t stride = words + kBlockWords;
    std::vector<std::uint64_t, CacheLineAllocator<std::uint64_t>> bits(
        static_cast<std::size_t>(NumberSet::kCapacity) * stride, 0);
    for (std::size_t n = 0; n < static_cast<std::size_t>(NumberSet::kCapacity); ++n) {
        std::copy_n(bits_.begin() + static_cast<std::ptrdiff_t>(n * stride_), wordsPerColumn_,
                    bits.begin() + static_cast<std::ptrdiff_t>(n * stride));
    }
    bits_ = std::move(bits);
    wordsPerColumn_ = words;
    stride_ = stride;
}

}  // namespace losfix
