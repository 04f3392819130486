// What the published equations share: yes/no inputs read as reals, the bounds that the
// equations put on laboratory values, and the rule that a missing value gives a missing result.
#pragma once

#include <cmath>
#include <limits>

namespace quorin::published {

inline constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// A yes/no input (sex, dialysis) arrives as a real: NumPy reads bool and integer arrays as 0.0
// and 1.0. Anything else is a mistake worth a refusal (a 2 or a 0.5 is not a sex); NaN is a
// missing value, never refused.
inline bool not_a_flag(double x) { return x != 0.0 && x != 1.0 && !std::isnan(x); }

// NaN in, NaN out, whatever the equation would make of it: the min/max knees and the bounds
// below would otherwise turn a missing value into a finite one.
template <class... T>
bool any_missing(T... x) {
    return (std::isnan(x) || ...);
}

// The bounds of the allocation rules ("values below 1.0 are set to 1.0"). The comparison is
// false for NaN, which then stays NaN; callers have already answered NaN inputs anyway.
inline double at_least(double x, double lo) { return x < lo ? lo : x; }
inline double at_most(double x, double hi) { return x > hi ? hi : x; }
inline double bounded(double x, double lo, double hi) { return at_most(at_least(x, lo), hi); }

}  // namespace quorin::published
