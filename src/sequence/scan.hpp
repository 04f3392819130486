// Byte scans behind the sequence cores, in vector lanes: counting is exact in any order, so a
// scan may take its bytes in whole vectors and its counts come out as a byte loop's would.
#pragma once

#include <cstddef>

namespace quorin::sequence::scan {

// How many of the n bytes at p are G, C, g or c.
std::size_t gc_bytes(const unsigned char* p, std::size_t n) noexcept;

// Walks the first n bytes of x and y together while both are ASCII, adding the positions where
// they are equal to `matches`. Returns how many bytes it took: n, or fewer when a byte of 0x80
// or above is at most a block (64 bytes) past that point.
std::size_t ascii_matches(const unsigned char* x, const unsigned char* y, std::size_t n,
                          std::size_t& matches) noexcept;

}  // namespace quorin::sequence::scan
