// Growth and population dynamics: the logistic function, logistic and clonal growth, doubling
// time, PCR amplification, serial dilution, allometric scaling, Weibull survival and the basic
// reproduction number of the SIR model.
//
// Powers of a count (PCR cycles, dilution steps) are integer powers by binary exponentiation;
// pow() is used only where the exponent is a real.
#pragma once

#include <cmath>
#include <cstdint>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::formulas {

// No precondition: exp(-x) overflowing to inf gives 0.0, not an error.
inline double sigmoid(double x) { return 1.0 / (std::exp(-x) + 1.0); }

inline Result<double> logistic_growth_inner(double k, double n0, double r, double t) {
    if (k <= 0.0) return fail("Quorin.LogisticGrowth: K must be positive");
    if (n0 <= 0.0) return fail("Quorin.LogisticGrowth: N\u2080 must be positive");
    double a = (k - n0) / n0;
    double e = std::exp(t * (-r));
    return k / (e * a + 1.0);
}

inline Result<double> clone_size(double n0, double r, double t) {
    if (n0 <= 0.0) return fail("Quorin.ClonalExpansion: N\u2080 must be positive");
    return std::exp(r * t) * n0;
}

// 0.6931471805599453 is the double nearest ln 2, stored rather than computed.
inline constexpr auto doubling_time = []<class V>(V mu) -> Result<V> {
    if (mu <= 0.0) return fail("Quorin.CellDoublingTime: \u03bc must be positive");
    return 0.6931471805599453 / mu;
};

inline Result<double> pcr_copies(double n0, double e, std::uint32_t n) {
    if (n0 <= 0.0) return fail("Quorin.PcrAmplification: N\u2080 and E must be positive");
    if (e <= 0.0) return fail("Quorin.PcrAmplification: N\u2080 and E must be positive");
    return powi(e, n) * n0;
}

// The reciprocal of d is raised to the power and c0 scaled by it; dividing c0 by powi(d, n)
// would round differently.
inline Result<double> dilution_concentration(double c0, double d, std::uint32_t n) {
    if (c0 <= 0.0) return fail("Quorin.DilutionSeries: C\u2080 and d must be positive");
    if (d <= 0.0) return fail("Quorin.DilutionSeries: C\u2080 and d must be positive");
    double q = 1.0 / d;
    return powi(q, n) * c0;
}

inline Result<double> allometric(double a, double m, double b) {
    if (a <= 0.0) return fail("Quorin.AllometricScaling: a and M must be positive");
    if (m <= 0.0) return fail("Quorin.AllometricScaling: a and M must be positive");
    return std::pow(m, b) * a;
}

// The scale parameter is exposed to Python under the name "lambda".
inline Result<double> weibull_survival(double t, double lambda, double k) {
    if (lambda <= 0.0) return fail("Quorin.WeibullSurvival: \u03bb must be positive");
    return std::exp(-std::pow(t / lambda, k));
}

inline constexpr auto reproduction_number = []<class V>(V beta, V gamma) -> Result<V> {
    if (beta <= 0.0) return fail("Quorin.SirEpidemic: \u03b2 and \u03b3 must be positive");
    if (gamma <= 0.0) return fail("Quorin.SirEpidemic: \u03b2 and \u03b3 must be positive");
    return beta / gamma;
};

}  // namespace quorin::formulas
