// Ensemble biological age, the telomere length bound and the Gompertz hazard.
#pragma once

#include <cmath>
#include <string>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::longevity {

// Weighted mean of three age estimates. The weights must sum to one within an inclusive 1e-6
// (a NaN sum compares false and passes) and are then used as given, not renormalised.
inline constexpr auto biological_age_bound = []<class V>(V pheno_age, V telomere_age,
                                                        V epigenetic_age, V w1, V w2,
                                                        V w3) -> Result<V> {
    constexpr const char* kAges =
        "Quorin.BiologicalAge: all age components must be non-negative (ensemble_nonneg)";
    constexpr const char* kWeights =
        "Quorin.BiologicalAge: weights must be non-negative (EnsembleWeights.hw1/hw2/hw3)";
    if (pheno_age < 0.0) return fail(kAges);
    if (telomere_age < 0.0) return fail(kAges);
    if (epigenetic_age < 0.0) return fail(kAges);
    if (w1 < 0.0) return fail(kWeights);
    if (w2 < 0.0) return fail(kWeights);
    if (w3 < 0.0) return fail(kWeights);
    V s = (w1 + w2) + w3;
    if (magnitude(s - 1.0) > 1e-6)
        return fail(message_with(s, [](double sum) {
            return "Quorin.BiologicalAge: weights must sum to 1.0 (EnsembleWeights.hsum); got " +
                   format_fixed8(sum);
        }));
    return (pheno_age * w1 + telomere_age * w2) + epigenetic_age * w3;
};

// A plateau of 8.0 up to age 40, then a decline of 0.027 per year, with no lower clamp.
inline constexpr auto telomere_length_bound = []<class V>(V age) -> Result<V> {
    if (age < 0.0) return fail("Quorin.Telomere: age must be non-negative");
    V x = age + (-40.0);
    x = where(x > 0.0, x, V(0.0));  // a NaN excess becomes 0 too
    return x * (-0.027) + 8.0;
};

// alpha * e^(beta * t); beta may be any real.
inline Result<double> gompertz_hazard(double alpha, double beta, double time) {
    if (alpha <= 0.0) return fail("Quorin.GompertzMortality: alpha must be positive (mortality_pos)");
    if (time < 0.0) return fail("Quorin.GompertzMortality: time must be non-negative");
    return std::exp(beta * time) * alpha;
}

}  // namespace quorin::longevity
