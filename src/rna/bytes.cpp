// The row fill with 8-bit counts, for sequences short enough that no count exceeds 255: a span
// of n bases holds at most n / 2 pairs, and every sum the fill forms is the count of two
// disjoint spans, so it never exceeds the count of the span that holds both. Written with the
// compiler's generic vectors: compiled for 16-byte vectors everywhere (SSE2 on x86-64, NEON on
// ARM) and, on x86-64, for AVX2 too, chosen at run time.
#include <cstdint>
#include <cstring>

#include "rna/fill.hpp"
#include "rna/trace.hpp"
#include "target.hpp"

namespace quorin::rna::detail {
namespace {

// Polls about every millisecond at the speed of this fill.
constexpr std::uint64_t kBytesPollBudget = std::uint64_t{1} << 25;

// Rows filled at once: they share the loads of every right half and overlap their chains of
// work from column to column. Three measured best here from 20 to 400 bases, four at 500.
constexpr std::size_t kRows = 3;

namespace sse2 {
constexpr std::size_t kBytes = 16;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "rna/bytes_kernel.inc"
}  // namespace sse2

#if defined(__x86_64__)
// Everything up to QUORIN_TARGET_END is compiled for AVX2.
QUORIN_TARGET_BEGIN("avx2")
namespace avx2 {
constexpr std::size_t kBytes = 32;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "rna/bytes_kernel.inc"
}  // namespace avx2
QUORIN_TARGET_END
#endif

// The scratch: four rows of pairing flags (one per base code), the flags of kRows rows under a
// loop minimum, the accumulators of kRows rows, then the table; each row whole vectors long
// plus a vector to spill into. Sized for the widest vectors.
constexpr std::size_t kWidest = 32;
std::size_t stride_of(std::size_t n) { return (n + kWidest + 63) / 64 * 64; }
std::size_t table_size(std::size_t n) {
    return n * (n + kWidest - 1) - n * (n - 1) / 2 + n;
}

}  // namespace

std::size_t bytes_scratch_size(std::size_t n) noexcept {
    return (4 + 2 * kRows) * stride_of(n) + table_size(n);
}

std::optional<std::uint64_t> fold_bytes(std::span<const std::uint8_t> codes, std::uint8_t* scratch,
                                        Poll poll, Isa isa, const Request& request) {
    const std::size_t n = codes.size();
    if (n < 2) return 0;
    const std::size_t stride = stride_of(n);
    std::uint8_t* pairs = scratch;
    std::uint8_t* masked = scratch + 4 * stride;
    std::uint8_t* acc = masked + kRows * stride;
    std::uint8_t* table = acc + kRows * stride;
    for (std::size_t b = 0; b < 4; ++b) {
        for (std::size_t x = 0; x < n; ++x) pairs[b * stride + x] = kPairs[b][codes[x]];
        std::memset(pairs + b * stride + n, 0, stride - n);
    }
    PollClock clock(poll, kBytesPollBudget);
    const std::uint8_t* c = codes.data();
    const std::size_t min_loop = request.min_loop;
#if defined(__x86_64__)
    const bool wide = isa == Isa::avx2;
    bool done = wide ? avx2::fill(c, n, pairs, stride, table, acc, min_loop, masked, clock)
                     : sse2::fill(c, n, pairs, stride, table, acc, min_loop, masked, clock);
    const std::size_t step = n + (wide ? avx2::kBytes : sse2::kBytes) - 1;
#else
    (void)isa;
    bool done = sse2::fill(c, n, pairs, stride, table, acc, min_loop, masked, clock);
    const std::size_t step = n + sse2::kBytes - 1;
#endif
    if (!done) return std::nullopt;
    // The layout of row_of in bytes_kernel.inc, for the instruction set that filled the table.
    auto gamma = [&](std::size_t i, std::size_t j) { return table[i * step - i * (i - 1) / 2 + j]; };
    if (request.structure != nullptr &&
        !trace(codes, min_loop, gamma, clock, *request.structure))
        return std::nullopt;
    return table[n - 1];
}

}  // namespace quorin::rna::detail
