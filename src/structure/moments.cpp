// The moment pass, compiled for the baseline vectors everywhere (16 bytes: SSE2, NEON) and, on
// x86-64, for AVX2 and AVX-512 too, chosen at run time. All compute eight lanes in the same
// order, so they give the same sums.
#include "structure/moments.hpp"
#include "target.hpp"

#include <algorithm>
#include <cstring>

// Lanes of two vectors of eight doubles picked by index (0 to 7 the first, 8 to 15 the second).
// GCC before 12 knows only its own spelling.
#if defined(__clang__)
#define QUORIN_PICK(a, b, ...) __builtin_shufflevector(a, b, __VA_ARGS__)
#else
typedef long long lane_index __attribute__((vector_size(64)));
#define QUORIN_PICK(a, b, ...) __builtin_shuffle(a, b, lane_index{__VA_ARGS__})
#endif

// The vectors never cross a call between files compiled for different sets, so the note that
// passing them changes with AVX is moot.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace quorin::structure {
namespace {

namespace generic {
typedef double vec __attribute__((vector_size(64)));
#include "structure/moments_kernel.inc"
}  // namespace generic

#if defined(__x86_64__)
// The same source for AVX2 (two registers a vector) and for AVX-512 (one, and 32 registers that
// hold every sum of the pass at once).
QUORIN_TARGET_BEGIN("avx2")
namespace avx2 {
typedef double vec __attribute__((vector_size(64)));
#include "structure/moments_kernel.inc"
}  // namespace avx2
QUORIN_TARGET_END
QUORIN_TARGET_BEGIN("avx2,avx512f,avx512vl")
namespace avx512 {
typedef double vec __attribute__((vector_size(64)));
#include "structure/moments_kernel.inc"
}  // namespace avx512
QUORIN_TARGET_END
#endif

}  // namespace

Moments moments(const List<Triple>& x, const List<Triple>& y, const List<double>* w) noexcept {
#if defined(__x86_64__)
    static const int isa = __builtin_cpu_supports("avx512vl") ? 2 : __builtin_cpu_supports("avx2");
    if (isa == 2) return w ? avx512::run<true>(x, y, w) : avx512::run<false>(x, y, nullptr);
    if (isa == 1) return w ? avx2::run<true>(x, y, w) : avx2::run<false>(x, y, nullptr);
#endif
    return w ? generic::run<true>(x, y, w) : generic::run<false>(x, y, nullptr);
}

}  // namespace quorin::structure
