// Numeric conventions shared by the contract cores.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

#include "array/lanes.hpp"

#include "list.hpp"

namespace quorin {

// A rigid motion x -> R x + t: the rotation matrix R by rows, and the translation t.
struct RigidMotion {
    std::array<Triple, 3> rotation;
    Triple translation;
};

// Integer power by binary exponentiation over the bits of a 32-bit count. The sequence of
// squarings and products is part of the result (it differs from pow() in the last bits), so it
// is written out rather than left to a library.
constexpr double powi(double x, std::uint32_t n) noexcept {
    double y = (n & 1u) ? x : 1.0;
    while ((n >>= 1) != 0) {
        x = x * x;
        if (n & 1u) y = y * x;
    }
    return y;
}

// min and max that return the other operand when exactly one is NaN (std::min does not).
// Written out so that it inlines (fmin and fmax are library calls on x86-64); over lanes, the
// same choices made lane by lane.
inline double qmin(double a, double b) noexcept {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b < a ? b : a;
}
inline double qmax(double a, double b) noexcept {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b > a ? b : a;
}
template <int N>
Lanes<N> qmin(Lanes<N> a, std::type_identity_t<Lanes<N>> b) noexcept {
    return where(is_nan(a), b, where(is_nan(b), a, where(b < a, b, a)));
}
template <int N>
Lanes<N> qmax(Lanes<N> a, std::type_identity_t<Lanes<N>> b) noexcept {
    return where(is_nan(a), b, where(is_nan(b), a, where(b > a, b, a)));
}

// Sequential sum from -0.0, first element to last: an empty list sums to -0.0 and the order of
// additions is the documented one (no pairwise or compensated summation).
inline double sum(const List<double>& xs) noexcept {
    double s = -0.0;
    for (double x : xs) s = s + x;
    return s;
}

// Fixed-point text with exactly eight decimals, correctly rounded (ties to even), never in
// exponent form; "-" for negative values including -0.0, "inf"/"-inf", and "NaN".
std::string format_fixed8(double value);

}  // namespace quorin
