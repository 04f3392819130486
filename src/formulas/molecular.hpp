// Molecular and structural scores: melting temperature, energy charge, modification ratio,
// pairwise potentials, riboswitch confidence and the TM-score with its single term.
#pragma once

#include <cmath>
#include <cstdint>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::formulas {

// Wallace rule, 4 (G + C) + 2 (A + T). The pair sums are formed in 64 bits: two counts of up to
// 2^32 - 1 each can exceed 32 bits, and a wrapped sum would give a wildly wrong temperature.
// Below 2^33 every sum is exact in a double, so results for sums that fit 32 bits are unchanged.
inline double dna_tm(std::uint32_t a, std::uint32_t t, std::uint32_t g, std::uint32_t c) noexcept {
    std::uint64_t s_at = std::uint64_t{a} + t;
    std::uint64_t s_gc = std::uint64_t{g} + c;
    double at = static_cast<double>(s_at);
    return static_cast<double>(s_gc) * 4.0 + (at + at);
}

inline constexpr auto energy_charge_inner = []<class V>(V atp, V adp, V amp) -> Result<V> {
    if (atp < 0.0) return fail("Quorin.NucleotideBalance: pools must be non-negative");
    if (adp < 0.0) return fail("Quorin.NucleotideBalance: pools must be non-negative");
    if (amp < 0.0) return fail("Quorin.NucleotideBalance: pools must be non-negative");
    V total = (atp + adp) + amp;
    if (total <= 0.0) return fail("Quorin.NucleotideBalance: total pool must be positive");
    return (atp + adp * 0.5) / total;
};

inline Result<double> modified_nucleotide_ratio(std::uint32_t modified, std::uint32_t total) {
    if (total == 0) return fail("Quorin.ModifiedNucleotideRatio: total must be positive");
    if (modified > total) return fail("Quorin.ModifiedNucleotideRatio: modified must be \u2264 total");
    return static_cast<double>(modified) / static_cast<double>(total);
}

inline double pairwise_potential(List<double> pairs) noexcept { return sum(pairs); }

// True divisions by -10 and 50: multiplying by the reciprocals would round differently.
inline Result<double> riboswitch_confidence_inner(double mfe, double ensemble_div) {
    if (ensemble_div < 0.0) return fail("Quorin.Riboswitch: ensemble_div must be non-negative");
    if (mfe > 0.0) return fail("Quorin.Riboswitch: mfe must be \u2264 0 (free energy)");
    double c = std::exp(ensemble_div / -10.0);
    double e = std::exp(mfe / 50.0);
    return (1.0 - e) * c;
}

inline constexpr auto tm_term = []<class V>(V d, V d0) -> Result<V> {
    if (d0 == 0.0) return fail("Quorin.TmScore: d\u2080 must be non-zero");
    V r = d / d0;
    return 1.0 / (r * r + 1.0);
};

// The number of distances is deliberately not compared with l_target.
inline Result<double> tm_score_inner(List<double> distances, std::uint64_t l_target,
                                     double d0) {
    if (d0 == 0.0) return fail("Quorin.TMScore: d\u2080 must be non-zero");
    if (l_target == 0) return fail("Quorin.TMScore: L_target must be positive");
    double s = -0.0;
    for (double d : distances) {
        double r = d / d0;
        s = s + 1.0 / (r * r + 1.0);
    }
    return s / static_cast<double>(l_target);
}

}  // namespace quorin::formulas
