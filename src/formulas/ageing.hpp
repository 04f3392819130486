// Ageing biomarkers: telomere attrition, clock acceleration, senolytic damage to healthy cells,
// the NAD+/NADH ratio and a weighted inflammation score.
#pragma once

#include <cstdint>

#include "error/quorin_error.hpp"

namespace quorin::formulas {

// Linear loss, not clamped at zero; the count is exact as a double.
inline Result<double> telomere_attrition(double l0, double delta, std::uint32_t n) {
    if (delta < 0.0) return fail("Quorin.TelomereAttrition: \u03b4 must be non-negative");
    return l0 - delta * static_cast<double>(n);
}

inline Result<double> epigenetic_acceleration(double clock_age, double chrono_age) {
    if (clock_age < 0.0) return fail("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]");
    if (clock_age > 150.0)
        return fail("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]");
    if (chrono_age < 0.0)
        return fail("Quorin.EpigeneticClockAcceleration: chronoAge must be non-negative");
    return clock_age - chrono_age;
}

// The selectivity must lie in [0, 1]; written as "not at least 0" so that NaN is refused.
inline Result<double> senolytic_healthy_damage(double sel, double dose) {
    if (!(sel >= 0.0)) return fail("Quorin.SenolyticSelectivity: selectivity must be in [0,1]");
    if (sel > 1.0) return fail("Quorin.SenolyticSelectivity: selectivity must be in [0,1]");
    if (dose < 0.0) return fail("Quorin.SenolyticSelectivity: dose must be non-negative");
    return (1.0 - sel) * dose;
}

// NADH, the divisor, is checked before NAD+.
inline Result<double> nad_ratio(double nad_plus, double nadh) {
    if (nadh <= 0.0) return fail("Quorin.NADPlusRatio: NADH must be positive");
    if (nad_plus < 0.0) return fail("Quorin.NADPlusRatio: NAD+ must be non-negative");
    return nad_plus / nadh;
}

inline Result<double> inflamm_score_inner(double w_il6, double w_tnfa, double w_crp, double il6,
                                          double tnfa, double crp) {
    if (w_il6 < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (w_tnfa < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (w_crp < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (il6 < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    if (tnfa < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    if (crp < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    return (w_il6 * il6 + w_tnfa * tnfa) + w_crp * crp;
}

}  // namespace quorin::formulas
