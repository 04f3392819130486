// Many short folds at once, one per byte lane of a vector: for a batch of short sequences the
// row fills are bound by the latency of one column's chain of maxima, where the same recurrence
// run across sequences keeps every lane busy. The counts are those of fold(), exactly (integers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quorin::rna {

// Sequences folded together, and the longest that go in a group: measured here the lanes take
// about a tenth of the time of one fold after another at 30 bases and half at 200; at 300 the
// two tables of a group outgrow the caches and the row fill is faster.
inline constexpr std::size_t kLanes = 32;
inline constexpr std::size_t kLanesUpTo = 192;

// Whether `sequence` can go in a group: short enough, and every character a base (anything
// else is left to fold(), which refuses it with its message).
bool lanes_take(std::string_view sequence) noexcept;

// Folds sequences[0..count), count <= kLanes, each taken by lanes_take, writing their counts,
// with no pair enclosing fewer than `min_loop` bases. Throws std::bad_alloc when the scratch
// cannot be had.
void fold_lanes(const std::string_view* sequences, std::size_t count, std::uint64_t* counts,
                std::size_t min_loop = 0);

}  // namespace quorin::rna
