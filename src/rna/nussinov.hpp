// Nussinov base-pair maximisation: the largest number of base pairs an RNA sequence can form at
// once, no two pairs crossing and no base in two pairs, counting only A-U, G-C and G-U.
//
// Writing gamma(i, j) for that count within positions i..j (0 when i >= j), every span obeys
//     gamma(i, j) = max( gamma(i+1, j-1) + pairs(i, j),  max over i <= k < j of
//                        gamma(i, k) + gamma(k+1, j) )
// (the splits at k = i and k = j - 1 are the spans with position i or j left unpaired). The
// fold fills that table bottom-up with no recursion and returns gamma(0, n-1).
//
// A minimum hairpin loop L forbids the pairs that enclose fewer than L bases: pairs(i, j) is 0
// whenever j - i - 1 < L. L = 0 is the contract's model, L = 3 the usual one of RNA folding.
//
// The structure fold fills the same table with the same kernels, then reads one optimal
// structure back from it (traceback). Which one, when several hold as many pairs: reading each
// span from its 5' end, its first base stays unpaired if the rest of the span holds as many
// pairs; otherwise it pairs with the nearest base that keeps the count; the span inside that
// pair and the span after it are then read the same way. Equivalently, of all optimal
// structures it is the one whose list of partners (-1 for an unpaired base), read base by base
// from the 5' end, comes first: at the first base where it differs from another optimal
// structure, it leaves that base unpaired, or pairs it with the nearer base.
//
// Nothing here touches Python: the exported function and any batch of folds share this kernel.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "error/quorin_error.hpp"

namespace quorin::rna {

// Base codes: A = 0, U (and T) = 1, G = 2, C = 3.
Result<std::vector<std::uint8_t>> encode(std::string_view sequence);

// Asked every few milliseconds of work whether to give up; a null function never stops.
struct Poll {
    bool (*stop)(void* context) = nullptr;
    void* context = nullptr;
};

// Memory that folds reuse: once a thread has folded a sequence of a few hundred bases, folding
// another as long allocates nothing. Never used by two folds at once (keep one per thread).
class Workspace {
public:
    Workspace() noexcept = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    ~Workspace();
    // At least `bytes`, aligned to a cache line; zero-filled when newly allocated, else holding
    // whatever the last fold left. Throws std::bad_alloc.
    std::uint8_t* reserve(std::size_t bytes);

private:
    std::uint8_t* block_ = nullptr;
    std::size_t size_ = 0;
};

// Below this length no count can exceed 65535 (a span of n bases holds at most n/2 pairs), so
// the table holds 16-bit counts; from here on it holds 32-bit ones.
inline constexpr std::size_t kWideFrom = 131072;

// Which fill runs. The fold picks by length; tests force a fill or a lower wide threshold.
// bytes_*: 8-bit counts, taken only below 512 bases (rows otherwise); tiled_*: 16-bit tiles.
enum class Kernel { automatic, rows, tiled_sse2, tiled_avx2, bytes_sse2, bytes_avx2 };
struct FoldOptions {
    std::size_t wide_from = kWideFrom;  // lowered only: a value above kWideFrom is ignored
    Kernel kernel = Kernel::automatic;
    std::size_t min_loop = 0;  // no pair (i, j) with j - i - 1 < min_loop; any value is valid
};

// One base pair, 0-based, i < j: two int64 side by side, so that a list of them is laid out as
// an (n_pairs, 2) int64 array.
struct BasePair {
    std::int64_t i, j;
    friend bool operator==(const BasePair&, const BasePair&) = default;
};
static_assert(sizeof(BasePair) == 2 * sizeof(std::int64_t));

// One optimal structure, chosen by the rule above.
struct Structure {
    std::string brackets;          // one character per base: '(' and ')' for a pair, '.' unpaired
    std::vector<BasePair> pairs;   // sorted by i; as many as the count fold gives
};

// gamma(0, n-1) for the codes, or nullopt when the poll asked to stop (everything allocated has
// been released by then). Throws std::bad_alloc when the table cannot be had.
std::optional<std::uint64_t> fold(std::span<const std::uint8_t> codes, Workspace& workspace,
                                  Poll poll = {}, FoldOptions options = {});
std::optional<std::uint64_t> fold(std::span<const std::uint8_t> codes, Poll poll = {},
                                  FoldOptions options = {});

// The contract on a sequence, encoding it into the workspace: the count, the invalid-base error,
// or nullopt when the poll asked to stop.
std::optional<Result<std::uint64_t>> fold(std::string_view sequence, Workspace& workspace,
                                          Poll poll, FoldOptions options = {});

// For callers without the interpreter lock, on any number of threads with one workspace each:
// the count or the invalid-base error; nullopt once `stop` reads true (looked at before the fold
// and about every millisecond in it); std::bad_alloc at once for a table that cannot be had.
std::optional<Result<std::uint64_t>> fold(std::string_view sequence, Workspace& workspace,
                                          const std::atomic<bool>& stop, FoldOptions options = {});

// The structure fold, in the three forms of the count fold above: the same fills, the same
// polling and refusals, and the table traced before it is released. No memory beyond the
// count fold's but the structure itself. Its invalid-base error names the functions that give
// structures: "Quorin.NussinovStructure: invalid base ..." (the count fold's names the contract).
std::optional<Structure> fold_structure(std::span<const std::uint8_t> codes, Workspace& workspace,
                                        Poll poll = {}, FoldOptions options = {});
std::optional<Result<Structure>> fold_structure(std::string_view sequence, Workspace& workspace,
                                                Poll poll, FoldOptions options = {});
std::optional<Result<Structure>> fold_structure(std::string_view sequence, Workspace& workspace,
                                                const std::atomic<bool>& stop,
                                                FoldOptions options = {});

// The contract: encode, then fold.
Result<std::uint64_t> nussinov(std::string_view sequence);

}  // namespace quorin::rna
