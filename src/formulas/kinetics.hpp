// Binding and enzyme kinetics: Hill dose-response and occupancy, Langmuir coverage, Monod growth,
// receptor occupancy, competitive inhibition, catalytic efficiency and protein steady state.
//
// The Hill powers are integer powers of the count n (binary exponentiation, not pow) and are not
// rescaled: powers that overflow give inf / inf, a NaN result, which is returned as such.
#pragma once

#include <cstdint>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::formulas {

inline Result<double> hill_effect_inner(double emax, double ec50, double c, std::uint32_t n) {
    if (emax <= 0.0) return fail("Quorin.HillEquation: emax must be positive");
    if (ec50 <= 0.0) return fail("Quorin.HillEquation: ec50 must be positive");
    if (c < 0.0) return fail("Quorin.HillEquation: c must be non-negative");
    double cn = powi(c, n);
    double top = emax * cn;
    double en = powi(ec50, n);
    return top / (en + cn);
}

inline Result<double> hill_occupancy(double s, double k, std::uint32_t n) {
    if (s < 0.0) return fail("Quorin.HillCooperativity: S must be non-negative");
    if (k <= 0.0) return fail("Quorin.HillCooperativity: K must be positive");
    double sn = powi(s, n);
    double kn = powi(k, n);
    return sn / (kn + sn);
}

inline constexpr auto langmuir_coverage = []<class V>(V k, V c) -> Result<V> {
    if (k <= 0.0) return fail("Quorin.LangmuirIsotherm: K and c must be positive");
    if (c <= 0.0) return fail("Quorin.LangmuirIsotherm: K and c must be positive");
    V p = k * c;
    return p / (1.0 + p);
};

inline constexpr auto monod_growth = []<class V>(V mu_max, V ks, V s) -> Result<V> {
    if (mu_max <= 0.0) return fail("Quorin.MonodGrowth: \u03bcmax, Ks, S must be positive");
    if (ks <= 0.0) return fail("Quorin.MonodGrowth: \u03bcmax, Ks, S must be positive");
    if (s <= 0.0) return fail("Quorin.MonodGrowth: \u03bcmax, Ks, S must be positive");
    return (mu_max * s) / (ks + s);
};

inline constexpr auto receptor_occupancy = []<class V>(V l, V kd) -> Result<V> {
    if (l <= 0.0) return fail("Quorin.ReceptorBinding: L and KD must be positive");
    if (kd <= 0.0) return fail("Quorin.ReceptorBinding: L and KD must be positive");
    return l / (kd + l);
};

// The constants km and ki are checked before the levels s and i.
inline constexpr auto competitive_inhibition_inner = []<class V>(V vmax, V km, V s, V i,
                                                                 V ki) -> Result<V> {
    if (vmax <= 0.0) return fail("Quorin.CompetitiveInhibition: vmax must be positive");
    if (km <= 0.0) return fail("Quorin.CompetitiveInhibition: km and ki must be positive");
    if (ki <= 0.0) return fail("Quorin.CompetitiveInhibition: km and ki must be positive");
    if (s <= 0.0) return fail("Quorin.CompetitiveInhibition: s>0, I>=0 required");
    if (i < 0.0) return fail("Quorin.CompetitiveInhibition: s>0, I>=0 required");
    V top = vmax * s;
    V f = (i / ki) + 1.0;
    V bottom = (km * f) + s;
    return top / bottom;
};

inline constexpr auto catalytic_efficiency = []<class V>(V kcat, V km) -> Result<V> {
    if (kcat <= 0.0) return fail("Quorin.CatalyticEfficiency: kcat and Km must be positive");
    if (km <= 0.0) return fail("Quorin.CatalyticEfficiency: kcat and Km must be positive");
    return kcat / km;
};

inline constexpr auto protein_steady_state = []<class V>(V ksyn, V kdeg) -> Result<V> {
    if (ksyn <= 0.0) return fail("Quorin.ProteinSteadyState: ksyn and kdeg must be positive");
    if (kdeg <= 0.0) return fail("Quorin.ProteinSteadyState: ksyn and kdeg must be positive");
    return ksyn / kdeg;
};

}  // namespace quorin::formulas
