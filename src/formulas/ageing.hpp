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

inline constexpr auto epigenetic_acceleration = []<class V>(V clock_age,
                                                            V chrono_age) -> Result<V> {
    if (clock_age < 0.0) return fail("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]");
    if (clock_age > 150.0)
        return fail("Quorin.EpigeneticClockAcceleration: clockAge must be in [0,150]");
    if (chrono_age < 0.0)
        return fail("Quorin.EpigeneticClockAcceleration: chronoAge must be non-negative");
    return clock_age - chrono_age;
};

// The selectivity must lie in [0, 1]; written as "not at least 0" so that NaN is refused.
inline constexpr auto senolytic_healthy_damage = []<class V>(V sel, V dose) -> Result<V> {
    if (!(sel >= 0.0)) return fail("Quorin.SenolyticSelectivity: selectivity must be in [0,1]");
    if (sel > 1.0) return fail("Quorin.SenolyticSelectivity: selectivity must be in [0,1]");
    if (dose < 0.0) return fail("Quorin.SenolyticSelectivity: dose must be non-negative");
    return (1.0 - sel) * dose;
};

// NADH, the divisor, is checked before NAD+.
inline constexpr auto nad_ratio = []<class V>(V nad_plus, V nadh) -> Result<V> {
    if (nadh <= 0.0) return fail("Quorin.NADPlusRatio: NADH must be positive");
    if (nad_plus < 0.0) return fail("Quorin.NADPlusRatio: NAD+ must be non-negative");
    return nad_plus / nadh;
};

inline constexpr auto inflamm_score_inner = []<class V>(V w_il6, V w_tnfa, V w_crp, V il6, V tnfa,
                                                        V crp) -> Result<V> {
    if (w_il6 < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (w_tnfa < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (w_crp < 0.0) return fail("Quorin.InflammAgingScore: weights must be non-negative");
    if (il6 < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    if (tnfa < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    if (crp < 0.0) return fail("Quorin.InflammAgingScore: cytokine levels must be non-negative");
    return (w_il6 * il6 + w_tnfa * tnfa) + w_crp * crp;
};

}  // namespace quorin::formulas
