// The tiled SIMD fill with 16-bit counts, compiled twice: for SSE2, which every x86-64 has,
// and for AVX2, chosen at run time when the processor has it.
//
// The triangle is cut into square tiles of kW x kW spans, filled tile row by tile row from the
// bottom, each from the diagonal outwards. What is kept:
//   - offset panels: tile column q, rows 0..qs, as 8-bit offsets of each value from the row's
//     value in column qs (gamma grows by at most one per base, so offsets stay below kW), with
//   - base panels: those first values, 16-bit;
//   - diagonal tiles, 16-bit;
//   - the row panel of the tile row being filled: gamma(i, k) for its kW rows and every k,
//     16-bit, stored by k so that the kW rows of one k are adjacent.
// That is about half a byte per n^2 in all. 16-bit lanes hold counts biased by -32768, so that
// the signed max of SSE2 orders them like the unsigned counts (up to 65535) they are.
#include "rna/fill.hpp"

#if QUORIN_TILED_FILL

#include "rna/trace.hpp"
#include "target.hpp"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace quorin::rna::detail {
namespace {

constexpr int kW = 96;    // tile width; offsets need kW <= 128 (see far_splits)
constexpr int kKc = 192;  // split points per block of the far product: two blocks fit in L1
constexpr std::int16_t kBiasedZero = -32768;

// Polls about every millisecond at the tiled fill's speed.
constexpr std::uint64_t kTiledPollBudget = std::uint64_t{1} << 26;

struct State {
    std::size_t n;
    std::size_t tiles;
    const std::uint8_t* code;  // padded to whole tiles with a base that pairs with nothing
    std::size_t min_loop;      // row i pairs with no column up to i + min_loop
    std::uint8_t* offsets;
    std::uint16_t* bases;
    std::uint16_t* diags;
    std::int16_t* rp;
    // Scratch for one tile.
    std::int16_t* tile_acc;  // kW x kW, biased: best split found so far
    std::uint16_t* tile;     // (kW + 1) x kW: the tile's rows as they become final, then row pe
    std::uint8_t* acc8;      // kW x kW: the far product
    std::uint8_t* a8;        // kKc x kW: left halves of one block, relative to the row maximum
    std::int16_t* row_max;   // kW
    std::int16_t* row_acc;   // kW
    std::uint8_t* masked;    // kW: the codes of one tile row's columns under the loop minimum
    PollClock clock;

    // Panel q holds rows 0..q * kW.
    static std::size_t panel_start(std::size_t q) { return kW * (q * (q - 1) / 2) + q; }
    std::uint8_t* offset_panel(std::size_t q) const { return offsets + panel_start(q) * kW; }
    std::uint16_t* base_panel(std::size_t q) const { return bases + panel_start(q); }
    std::uint16_t* diag_tile(std::size_t q) const { return diags + q * kW * kW; }

    // gamma(i, j) once the fill is done, i <= j < n.
    std::uint64_t gamma(std::size_t i, std::size_t j) const {
        const std::size_t q = j / kW, qs = q * kW;
        if (i >= qs) return diag_tile(q)[(i - qs) * kW + (j - qs)];
        return std::uint64_t{base_panel(q)[i]} + offset_panel(q)[i * kW + (j - qs)];
    }
};

}  // namespace

namespace {
namespace sse2 {

struct V {
    using vec = __m128i;
    static constexpr int kBytes = 16;
    static constexpr int kRows = 2;  // rows per block of the far product (12 accumulators)
    static vec load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void store(void* p, vec x) { _mm_storeu_si128(static_cast<__m128i*>(p), x); }
    static vec zero() { return _mm_setzero_si128(); }
    static vec set16(std::int16_t x) { return _mm_set1_epi16(x); }
    static vec set8(std::uint8_t x) { return _mm_set1_epi8(static_cast<char>(x)); }
    static vec add16(vec a, vec b) { return _mm_add_epi16(a, b); }
    static vec adds16(vec a, vec b) { return _mm_adds_epi16(a, b); }
    static vec subs16(vec a, vec b) { return _mm_subs_epi16(a, b); }
    static vec max16(vec a, vec b) { return _mm_max_epi16(a, b); }
    static vec add8(vec a, vec b) { return _mm_add_epi8(a, b); }
    static vec maxu8(vec a, vec b) { return _mm_max_epu8(a, b); }
    static vec pack_u8(vec lo, vec hi) { return _mm_packus_epi16(lo, hi); }
    static vec widen_lo(vec x) { return _mm_unpacklo_epi8(x, _mm_setzero_si128()); }
    static vec widen_hi(vec x) { return _mm_unpackhi_epi8(x, _mm_setzero_si128()); }
    template <int L>
    static std::int16_t lane(vec x) { return static_cast<std::int16_t>(_mm_extract_epi16(x, L)); }
};

#include "rna/tiled_kernel.inc"

}  // namespace sse2
}  // namespace

// Everything up to QUORIN_TARGET_END is compiled for AVX2.
QUORIN_TARGET_BEGIN("avx2")
namespace {
namespace avx2 {

struct V {
    using vec = __m256i;
    static constexpr int kBytes = 32;
    static constexpr int kRows = 3;  // rows per block of the far product (9 accumulators)
    static vec load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void store(void* p, vec x) { _mm256_storeu_si256(static_cast<__m256i*>(p), x); }
    static vec zero() { return _mm256_setzero_si256(); }
    static vec set16(std::int16_t x) { return _mm256_set1_epi16(x); }
    static vec set8(std::uint8_t x) { return _mm256_set1_epi8(static_cast<char>(x)); }
    static vec add16(vec a, vec b) { return _mm256_add_epi16(a, b); }
    static vec adds16(vec a, vec b) { return _mm256_adds_epi16(a, b); }
    static vec subs16(vec a, vec b) { return _mm256_subs_epi16(a, b); }
    static vec max16(vec a, vec b) { return _mm256_max_epi16(a, b); }
    static vec add8(vec a, vec b) { return _mm256_add_epi8(a, b); }
    static vec maxu8(vec a, vec b) { return _mm256_max_epu8(a, b); }
    // packus works within 128-bit halves; the permute puts the 32 bytes back in order.
    static vec pack_u8(vec lo, vec hi) {
        return _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
    }
    static vec widen_lo(vec x) { return _mm256_cvtepu8_epi16(_mm256_castsi256_si128(x)); }
    static vec widen_hi(vec x) { return _mm256_cvtepu8_epi16(_mm256_extracti128_si256(x, 1)); }
    template <int L>
    static std::int16_t lane(vec x) { return static_cast<std::int16_t>(_mm256_extract_epi16(x, L)); }
};

#include "rna/tiled_kernel.inc"

}  // namespace avx2
}  // namespace
QUORIN_TARGET_END

std::optional<std::uint64_t> fold_tiled(std::span<const std::uint8_t> codes, Poll poll, bool avx2,
                                        const Request& request) {
    const std::size_t n = codes.size();
    const std::size_t tiles = n / kW + (n % kW != 0);
    const std::size_t padded = checked_size(tiles, kW);
    // Rows of all panels, State::panel_start(tiles), with every step checked.
    const std::size_t panel_rows =
        checked_size(kW, checked_size(tiles, tiles - 1) / 2, tiles);

    const std::size_t offsets_bytes = checked_size(panel_rows, kW);
    const std::size_t bases_bytes = checked_size(panel_rows, 2);
    const std::size_t diags_bytes = checked_size(tiles, kW * kW * 2);
    const std::size_t rp_bytes = checked_size(padded, kW * 2);
    constexpr std::size_t scratch_bytes =
        kW * kW * 2 + (kW + 1) * kW * 2 + kW * kW + kKc * kW + kW * 2 + kW * 2 + kW + 7 * 64;
    std::size_t total = scratch_bytes;
    for (std::size_t bytes : {padded, offsets_bytes, bases_bytes, diags_bytes, rp_bytes})
        total = checked_size(1, total, bytes);
    refuse_beyond_memory(total);

    Buffer code(padded, Buffer::aligned);
    Buffer offsets(offsets_bytes, Buffer::aligned);
    Buffer bases(bases_bytes, Buffer::aligned);
    Buffer diags(diags_bytes, Buffer::aligned);
    Buffer rp(rp_bytes, Buffer::aligned);
    Buffer scratch(scratch_bytes, Buffer::aligned);

    auto* c = code.as<std::uint8_t>();
    std::memcpy(c, codes.data(), n);
    std::memset(c + n, 4, padded - n);

    auto* block = scratch.as<std::uint8_t>();
    auto carve = [&block](std::size_t bytes) {
        std::uint8_t* p = block;
        block += (bytes + 63) / 64 * 64;
        return p;
    };
    State s{n,
            tiles,
            c,
            request.min_loop,
            offsets.as<std::uint8_t>(),
            bases.as<std::uint16_t>(),
            diags.as<std::uint16_t>(),
            rp.as<std::int16_t>(),
            reinterpret_cast<std::int16_t*>(carve(kW * kW * 2)),
            reinterpret_cast<std::uint16_t*>(carve((kW + 1) * kW * 2)),
            carve(kW * kW),
            carve(kKc * kW),
            reinterpret_cast<std::int16_t*>(carve(kW * 2)),
            reinterpret_cast<std::int16_t*>(carve(kW * 2)),
            carve(kW),
            PollClock(poll, kTiledPollBudget)};

    if (!(avx2 ? avx2::run(s) : sse2::run(s))) return std::nullopt;
    auto gamma = [&s](std::size_t i, std::size_t j) { return s.gamma(i, j); };
    if (request.structure != nullptr &&
        !trace(codes, request.min_loop, gamma, s.clock, *request.structure))
        return std::nullopt;
    return s.gamma(0, n - 1);
}

}  // namespace quorin::rna::detail

#endif  // QUORIN_TILED_FILL
