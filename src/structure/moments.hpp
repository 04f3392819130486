// The sums a superposition needs, gathered in one pass over two structures of n atoms: the
// weight, the first moments of each structure and the cross moments between them. Coordinates
// are taken relative to each structure's first atom, so that the sums stay of the size of the
// structure rather than of its distance from the origin, which keeps centring them exact to
// within rounding of that size.
#pragma once

#include <array>
#include <cstddef>

#include "numeric.hpp"

namespace quorin::structure {

struct Moments {
    double weight = 0.0;                // Σ w (n when unweighted)
    Triple sum_x{}, sum_y{};            // Σ w x', Σ w y'
    std::array<Triple, 3> cross{};      // cross[a][b] = Σ w x'_a y'_b
    double squares = 0.0;               // Σ w (|x'|² + |y'|²)
    double least_weight = 0.0;          // the smallest weight seen (1 when unweighted)
};

// x' = x − x[0] and y' = y − y[0]; w is nullptr for unit weights. Sizes are equal and n ≥ 1.
// The sums run in eight interleaved lanes (atom i in lane i mod 8) added pairwise at the end,
// the same on every machine; the pass uses the widest vectors the processor has.
Moments moments(const List<Triple>& x, const List<Triple>& y, const List<double>* w) noexcept;

}  // namespace quorin::structure
