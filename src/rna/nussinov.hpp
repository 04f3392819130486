// Nussinov base-pair maximisation: the largest number of base pairs an RNA sequence can form at
// once, no two pairs crossing and no base in two pairs, counting only A-U, G-C and G-U.
//
// Writing gamma(i, j) for that count within positions i..j (0 when i >= j), every span obeys
//     gamma(i, j) = max( gamma(i+1, j-1) + pairs(i, j),  max over i <= k < j of
//                        gamma(i, k) + gamma(k+1, j) )
// (the splits at k = i and k = j - 1 are the spans with position i or j left unpaired). The
// fold fills that table bottom-up with no recursion and returns gamma(0, n-1).
#pragma once

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

// Below this length no count can exceed 65535 (a span of n bases holds at most n/2 pairs), so
// the table holds 16-bit counts; from here on it holds 32-bit ones.
inline constexpr std::size_t kWideFrom = 131072;

// Which fill runs. The fold picks by itself; tests force a kernel or a lower wide threshold.
enum class Kernel { automatic, rows, sse2, avx2 };
struct FoldOptions {
    std::size_t wide_from = kWideFrom;  // lowered only: a value above kWideFrom is ignored
    Kernel kernel = Kernel::automatic;
};

// gamma(0, n-1) for the codes, or nullopt when the poll asked to stop (everything allocated has
// been released by then). Throws std::bad_alloc when the table cannot be had.
std::optional<std::uint64_t> fold(std::span<const std::uint8_t> codes, Poll poll = {},
                                  FoldOptions options = {});

// The contract: encode, then fold.
Result<std::uint64_t> nussinov(std::string_view sequence);

}  // namespace quorin::rna
