// Short folds across the byte lanes of a vector. The same recurrence as the row fills, evaluated
// span by span with every lane a different sequence: gamma(i, j) is the best of leaving i or j
// unpaired, pairing them around gamma(i + 1, j - 1), and every split gamma(i, k) +
// gamma(k + 1, j). Counts fit in a byte: a span of at most kLanesUpTo bases holds at most half
// as many pairs, and a sum is the count of two disjoint spans, never more than the whole.
#include "rna/lanes.hpp"

#include <array>
#include <cstring>
#include <new>

#include "rna/fill.hpp"
#include "target.hpp"

namespace quorin::rna {
namespace {

static_assert(kLanesUpTo / 2 <= 255, "every count and every sum of two must fit in a byte");

namespace generic {
typedef std::uint8_t vec __attribute__((vector_size(kLanes)));
#include "rna/lanes_kernel.inc"
}  // namespace generic


#if defined(__x86_64__)
QUORIN_TARGET_BEGIN("avx2")
namespace avx2 {
typedef std::uint8_t vec __attribute__((vector_size(kLanes)));
#include "rna/lanes_kernel.inc"
}  // namespace avx2
QUORIN_TARGET_END
#endif

// One bit per base: A, U (and T), G, C; and the bases each pairs with (A-U, G-C, G-U).
constexpr std::uint8_t A = 1, U = 2, G = 4, C = 8;
struct Base {
    std::uint8_t self = 0, partners = 0;
};
constexpr std::array<Base, 256> kBases = [] {
    std::array<Base, 256> b{};
    for (char x : {'A', 'a'}) b[static_cast<unsigned char>(x)] = {A, U};
    for (char x : {'U', 'u', 'T', 't'}) b[static_cast<unsigned char>(x)] = {U, A | G};
    for (char x : {'G', 'g'}) b[static_cast<unsigned char>(x)] = {G, U | C};
    for (char x : {'C', 'c'}) b[static_cast<unsigned char>(x)] = {C, G};
    return b;
}();

}  // namespace

bool lanes_take(std::string_view sequence) noexcept {
    if (sequence.size() > kLanesUpTo) return false;
    std::uint8_t all = 0xFF;
    for (char c : sequence) all &= kBases[static_cast<unsigned char>(c)].self != 0 ? 0xFF : 0;
    return all != 0;
}

void fold_lanes(const std::string_view* sequences, std::size_t count, std::uint64_t* counts,
                std::size_t min_loop) {
    std::size_t n = 0;
    for (std::size_t l = 0; l < count; ++l) n = std::max(n, sequences[l].size());
    if (n < 2) {
        for (std::size_t l = 0; l < count; ++l) counts[l] = 0;
        return;
    }
    // Each thread keeps its scratch for the next group: the codes, then the two tables.
    using Vec = generic::vec;
    thread_local Workspace scratch;
    Vec* pm = reinterpret_cast<Vec*>(scratch.reserve((2 * n + 2 * n * n) * sizeof(Vec)));
    Vec* oh = pm + n;
    std::memset(static_cast<void*>(pm), 0, 2 * n * sizeof(Vec));
    auto* pm_bytes = reinterpret_cast<std::uint8_t*>(pm);
    auto* oh_bytes = reinterpret_cast<std::uint8_t*>(oh);
    for (std::size_t l = 0; l < count; ++l)
        for (std::size_t x = 0; x < sequences[l].size(); ++x) {
            const Base& b = kBases[static_cast<unsigned char>(sequences[l][x])];
            pm_bytes[x * kLanes + l] = b.partners;
            oh_bytes[x * kLanes + l] = b.self;
        }
    Vec* g = oh + n;
    Vec* t = g + n * n;
#if defined(__x86_64__)
    if (detail::best_isa() == detail::Isa::avx2) {
        using V = avx2::vec;
        avx2::fold_group(reinterpret_cast<const V*>(pm), reinterpret_cast<const V*>(oh), n,
                         min_loop, reinterpret_cast<V*>(g), reinterpret_cast<V*>(t));
    } else
#endif
        generic::fold_group(pm, oh, n, min_loop, g, t);
    // Padding pairs with nothing, so the whole padded span counts what the sequence does.
    const auto* last = reinterpret_cast<const std::uint8_t*>(g + (n - 1));
    for (std::size_t l = 0; l < count; ++l) counts[l] = last[l];
}

}  // namespace quorin::rna
