// The byte scans, compiled for 16-byte vectors everywhere (SSE2 on x86-64, NEON on ARM) and, on
// x86-64, for AVX2 too, chosen at run time.
#include "sequence/scan.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorin::sequence::scan {
namespace {

namespace narrow {
constexpr std::size_t kBytes = 16;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "sequence/scan_kernel.inc"
}  // namespace narrow

#if defined(__x86_64__)
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {
constexpr std::size_t kBytes = 32;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "sequence/scan_kernel.inc"
}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
const bool wide = [] {
    __builtin_cpu_init();  // may run before the library's own initialiser
    return __builtin_cpu_supports("avx2") != 0;
}();
#else
constexpr bool wide = false;
#endif

}  // namespace

std::size_t gc_bytes(const unsigned char* p, std::size_t n) noexcept {
#if defined(__x86_64__)
    if (wide) return avx2::gc_bytes(p, n);
#endif
    return narrow::gc_bytes(p, n);
}

std::size_t ascii_matches(const unsigned char* x, const unsigned char* y, std::size_t n,
                          std::size_t& matches) noexcept {
#if defined(__x86_64__)
    if (wide) return avx2::ascii_matches(x, y, n, matches);
#endif
    return narrow::ascii_matches(x, y, n, matches);
}

}  // namespace quorin::sequence::scan
