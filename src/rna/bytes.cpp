// The row fill with 8-bit counts, for sequences short enough that no count exceeds 255: a span
// of n bases holds at most n / 2 pairs, and every sum the fill forms is the count of two
// disjoint spans, so it never exceeds the count of the span that holds both. Compiled for SSE2,
// which every x86-64 has, and for AVX2, chosen at run time.
#include <cstdint>
#include <cstring>

#include "rna/fill.hpp"

namespace quorin::rna::detail {
namespace {

// Polls about every millisecond at the speed of this fill.
constexpr std::uint64_t kBytesPollBudget = std::uint64_t{1} << 25;

namespace sse2 {
constexpr std::size_t kBytes = 16;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "rna/bytes_kernel.inc"
}  // namespace sse2

#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {
constexpr std::size_t kBytes = 32;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "rna/bytes_kernel.inc"
}  // namespace avx2
#pragma GCC pop_options

// The scratch: four rows of pairing flags (one per base code), the accumulator, then the table,
// each whole vectors long plus a vector to spill into. Sized for the widest vectors.
constexpr std::size_t kWidest = 32;
std::size_t stride_of(std::size_t n) { return (n + kWidest + 63) / 64 * 64; }
std::size_t table_size(std::size_t n) {
    return n * (n + kWidest - 1) - n * (n - 1) / 2 + n;
}

}  // namespace

std::size_t bytes_scratch_size(std::size_t n) noexcept { return 5 * stride_of(n) + table_size(n); }

std::optional<std::uint64_t> fold_bytes(std::span<const std::uint8_t> codes, std::uint8_t* scratch,
                                        Poll poll, Isa isa) {
    const std::size_t n = codes.size();
    if (n < 2) return 0;
    const std::size_t stride = stride_of(n);
    std::uint8_t* pairs = scratch;
    std::uint8_t* acc = scratch + 4 * stride;
    std::uint8_t* table = scratch + 5 * stride;
    for (std::size_t b = 0; b < 4; ++b) {
        for (std::size_t x = 0; x < n; ++x) pairs[b * stride + x] = kPairs[b][codes[x]];
        std::memset(pairs + b * stride + n, 0, stride - n);
    }
    PollClock clock(poll, kBytesPollBudget);
    const std::uint8_t* c = codes.data();
    bool done = isa == Isa::avx2 ? avx2::fill(c, n, pairs, stride, table, acc, clock)
                                 : sse2::fill(c, n, pairs, stride, table, acc, clock);
    if (!done) return std::nullopt;
    return table[n - 1];
}

}  // namespace quorin::rna::detail
