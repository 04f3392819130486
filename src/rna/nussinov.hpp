// Nussinov base-pair maximisation: the largest number of base pairs an RNA sequence can form at
// once, no two pairs crossing and no base in two pairs, counting only A-U, G-C and G-U.
//
// Writing gamma(i, j) for that count within positions i..j (0 when i >= j), every span obeys
//     gamma(i, j) = max( gamma(i+1, j-1) + pairs(i, j),  max over i <= k < j of
//                        gamma(i, k) + gamma(k+1, j) )
// (the splits at k = i and k = j - 1 are the spans with position i or j left unpaired). The
// fold fills that table bottom-up with no recursion and returns gamma(0, n-1).
//
// Nothing here touches Python: the exported function and any batch of folds share this kernel.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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
                                          Poll poll);

// For callers without the interpreter lock, on any number of threads with one workspace each:
// the count or the invalid-base error; nullopt once `stop` reads true (looked at before the fold
// and about every millisecond in it); std::bad_alloc at once for a table that cannot be had.
std::optional<Result<std::uint64_t>> fold(std::string_view sequence, Workspace& workspace,
                                          const std::atomic<bool>& stop);

// The contract: encode, then fold.
Result<std::uint64_t> nussinov(std::string_view sequence);

}  // namespace quorin::rna
