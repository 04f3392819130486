// Thermodynamics and electrochemistry: free energy, rate constants, Boltzmann weights, electrode
// potential, osmotic pressure and proton-motive force.
//
// The physical constants enter as the decimals written here (gas constant 8.314, Boltzmann
// constant 1.380649e-23, Faraday constant 96485.0). Where a formula divides by R·T, the sign of
// the exponent is folded into the constant (t * -8.314) so that the rounding is that of one
// product, and a division by a constant stays a division: replacing it by a multiplication with
// the reciprocal would move results in the last bit.
#pragma once

#include <cmath>

#include "error/quorin_error.hpp"

namespace quorin::formulas {

inline constexpr auto gibbs_free_energy = []<class V>(V dh, V t, V ds) -> Result<V> {
    if (t < 0.0) return fail("Quorin.GibbsFreeEnergy: T must be non-negative");
    return dh - (t * ds);
};

inline Result<double> arrhenius_rate(double a, double ea, double t) {
    if (a <= 0.0) return fail("Quorin.ArrheniusEquation: A must be positive");
    if (t <= 0.0) return fail("Quorin.ArrheniusEquation: T must be positive");
    return std::exp(ea / (t * -8.314)) * a;
}

inline Result<double> boltzmann_factor(double e, double t) {
    if (t <= 0.0) return fail("Quorin.BoltzmannDistribution: T must be positive");
    return std::exp(e / (t * -1.380649e-23));
}

// The partition function is checked before the temperature.
inline Result<double> boltzmann_probability(double e, double t, double z) {
    if (z <= 0.0) return fail("Quorin.BoltzmannDistribution: Z must be positive");
    if (t <= 0.0) return fail("Quorin.BoltzmannDistribution: T must be positive");
    return std::exp(e / (t * -1.380649e-23)) / z;
}

// The electron count is a real: fractional values are accepted.
inline Result<double> nernst_potential_inner(double e0, double t, double n, double c_out,
                                             double c_in) {
    if (t <= 0.0) return fail("Quorin.NernstEquation: T must be positive");
    if (n <= 0.0) return fail("Quorin.NernstEquation: n must be positive");
    if (c_out <= 0.0) return fail("Quorin.NernstEquation: concentrations must be positive");
    if (c_in <= 0.0) return fail("Quorin.NernstEquation: concentrations must be positive");
    double s = (t * -8.314) / (n * 96485.0);
    double q = c_out / c_in;
    return e0 + std::log(q) * s;
}

inline constexpr auto osmotic_pressure = []<class V>(V i, V m, V t) -> Result<V> {
    if (i <= 0.0) return fail("Quorin.OsmoticPressure: i, M, T must be positive");
    if (m <= 0.0) return fail("Quorin.OsmoticPressure: i, M, T must be positive");
    if (t <= 0.0) return fail("Quorin.OsmoticPressure: i, M, T must be positive");
    return ((i * m) * 8.314) * t;
};

// -19.147142 is -(8.314 * 2.303), 2.303 standing for ln 10: kept as that one constant, not
// rebuilt from the exact ln 10.
inline constexpr auto proton_motive_force = []<class V>(V d_psi, V t, V d_ph) -> Result<V> {
    if (t <= 0.0) return fail("Quorin.ProtonMotiveForce: T must be positive");
    return d_psi + ((t * -19.147142) / 96485.0) * d_ph;
};

}  // namespace quorin::formulas
