#include "numeric.hpp"

#include <charconv>
#include <cmath>

namespace quorin {

std::string format_fixed8(double value) {
    if (std::isnan(value)) return "NaN";
    // to_chars is exact and locale-independent, unlike printf under a user-set LC_NUMERIC.
    char buf[400];  // DBL_MAX has 309 integer digits
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 8);
    (void)ec;
    return std::string(buf, end);
}

}  // namespace quorin
