// mRNA decay and translation.
#pragma once

#include <cmath>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::mrna {

inline Result<double> mrna_halflife_concentration(double initial, double decay_rate, double time) {
    if (initial <= 0.0) return fail("Quorin.MrnaHalfLife: initial (m\u2080) must be positive");
    if (decay_rate < 0.0) return fail("Quorin.MrnaHalfLife: decay_rate must be non-negative");
    if (time < 0.0) return fail("Quorin.MrnaHalfLife: time must be non-negative");
    double e = time * (-decay_rate);
    return std::exp(e) * initial;
}

inline constexpr auto mrna_halflife = []<class V>(V decay_rate) -> Result<V> {
    if (decay_rate <= 0.0) return fail("Quorin.MrnaHalfLife: decay_rate must be positive (halfLife_pos)");
    return 0.6931471805599453 / decay_rate;
};

inline constexpr auto ribosome_density = []<class V>(V n_ribosomes, V length) -> Result<V> {
    if (n_ribosomes < 0.0)
        return fail("Quorin.RibosomeDensity: n_ribosomes must be non-negative (coverage_nonneg)");
    if (length <= 0.0) return fail("Quorin.RibosomeDensity: length must be positive");
    return qmin(n_ribosomes / length, 1.0);
};

inline constexpr auto translation_rate = []<class V>(V codon_rate, V ribosome_density,
                                                     V mrna_copies) -> Result<V> {
    if (codon_rate <= 0.0)
        return fail("Quorin.TranslationRate: codon_rate must be positive (translationRate_pos)");
    if (ribosome_density <= 0.0)
        return fail("Quorin.TranslationRate: ribosome_density must be positive (translationRate_pos)");
    if (mrna_copies <= 0.0)
        return fail("Quorin.TranslationRate: mrna_copies must be positive (translationRate_pos)");
    return (codon_rate * ribosome_density) * mrna_copies;
};

}  // namespace quorin::mrna
