#include "core/lottery/RowColumns.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
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
    // Whole blocks: the bits past the last row are 0 and count for nothing.
    const std::size_t words = (rows_ + 64 * kBlockWords - 1) / (64 * kBlockWords) * kBlockWords;
    const std::size_t blocks = words / kBlockWords;
    if (rows_ == 0 || count < 1 || count > kMaxNumbers || threshold < 1 || threshold > count) {
        return {rows_ != 0 && threshold <= 0, 0};
    }
    std::array<const std::uint64_t*, kMaxNumbers> columns;
    for (int i = 0; i < count; ++i) {
        columns[static_cast<std::size_t>(i)] =
            bits_.data() + static_cast<std::size_t>(numbers[i]) * stride_;
    }
    const std::size_t read = Chosen().kernels[static_cast<std::size_t>(count)](
        columns.data(), words, static_cast<unsigned>(threshold));
    return read != 0 ? Search{true, read} : Search{false, blocks};
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
