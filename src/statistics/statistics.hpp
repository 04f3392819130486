// Hardy-Weinberg frequencies and goodness of fit, and the RMSD of two coordinate lists.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::statistics {

// Genotype frequencies (AA, Aa, aa) at equilibrium, not renormalised. The range is a closed
// interval, so NaN is refused.
inline constexpr auto hardy_weinberg = []<class V>(V p) -> Result<std::array<V, 3>> {
    if (p < 0.0 || is_nan(p))
        return fail("Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)");
    if (p > 1.0) return fail("Quorin.HardyWeinberg: p must be in [0, 1] (AlleleFreq.hp + hq + hsum)");
    V q = 1.0 - p;
    return std::array<V, 3>{p * p, q * (2.0 * p), q * q};
};

// Observed genotype frequencies and the chi-squared deviation from equilibrium, formed on
// frequencies (Pearson's statistic divided by N).
//
// Each count may be as large as 2^64 - 1, so the total can need 66 bits: it is added in 128-bit
// arithmetic rather than left to wrap around to a small, wrong N. The conversion of the 128-bit
// total to double rounds to nearest (ties to even) exactly as the 64-bit one does, so every
// total that fits in 64 bits gives the same double as before.
inline Result<std::array<double, 4>> hardy_weinberg_test(std::uint64_t n_aa_dom,
                                                          std::uint64_t n_aa_het,
                                                          std::uint64_t n_aa_rec) {
    using u128 = unsigned __int128;
    u128 total = (u128{n_aa_het} + n_aa_dom) + n_aa_rec;
    if (total == 0) return fail("Quorin.HardyWeinberg: total count must be positive");
    double n = static_cast<double>(total);
    double dom = static_cast<double>(n_aa_dom);
    double het = static_cast<double>(n_aa_het);
    double rec = static_cast<double>(n_aa_rec);
    double f_dom = dom / n;
    double f_het = het / n;
    double f_rec = rec / n;
    double p = (het + (dom + dom)) / (n + n);
    double q = 1.0 - p;
    double e_dom = p * p;
    double e_het = (p + p) * q;
    double e_rec = q * q;
    // A monomorphic sample has a zero expectation; it contributes nothing instead of 0/0.
    auto term = [](double f, double e) {
        double d = f - e;
        return e > 0.0 ? (d * d) / e : 0.0;
    };
    double t_rec = term(f_rec, e_rec);
    double t_dom = term(f_dom, e_dom);
    double t_het = term(f_het, e_het);
    double chi = t_rec + (t_dom + t_het);
    return std::array<double, 4>{f_dom, f_het, f_rec, chi};
}

// Root-mean-square deviation of points paired by position, without superposition.
inline Result<double> protein_rmsd(List<Triple> coords1,
                                   List<Triple> coords2) {
    if (coords1.size() != coords2.size())
        return fail("Quorin.ProteinRMSD: coordinate arrays must have the same length");
    if (coords1.empty()) return 0.0;
    double s = -0.0;
    for (std::size_t i = 0; i < coords1.size(); ++i) {
        Triple a = coords1[i], b = coords2[i];
        double dx = a[0] - b[0];
        double dy = a[1] - b[1];
        double dz = a[2] - b[2];
        s = s + ((dx * dx + dy * dy) + dz * dz);
    }
    return std::sqrt(s / static_cast<double>(coords1.size()));
}

}  // namespace quorin::statistics
