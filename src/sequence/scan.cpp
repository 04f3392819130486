// The byte scans, for 16-byte vectors (SSE2 on x86-64, NEON on ARM) and, on x86-64, for AVX2.
#include "sequence/scan.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "target.hpp"

namespace quorin::sequence::scan {
namespace {

namespace narrow {
constexpr std::size_t kBytes = 16;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "sequence/scan_kernel.inc"
}  // namespace narrow

#if defined(__x86_64__)
QUORIN_TARGET_BEGIN("avx2")
namespace avx2 {
constexpr std::size_t kBytes = 32;
typedef std::uint8_t vec __attribute__((vector_size(kBytes)));
#include "sequence/scan_kernel.inc"
}  // namespace avx2
QUORIN_TARGET_END
#endif

}  // namespace

std::size_t gc_bytes(const unsigned char* p, std::size_t n) noexcept {
#if defined(__x86_64__)
    if (target::has_avx2()) return avx2::gc_bytes(p, n);
#endif
    return narrow::gc_bytes(p, n);
}

std::size_t ascii_matches(const unsigned char* x, const unsigned char* y, std::size_t n,
                          std::size_t& matches) noexcept {
#if defined(__x86_64__)
    if (target::has_avx2()) return avx2::ascii_matches(x, y, n, matches);
#endif
    return narrow::ascii_matches(x, y, n, matches);
}

}  // namespace quorin::sequence::scan
