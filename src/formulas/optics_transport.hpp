// Spectroscopy and transport: Beer-Lambert absorbance, fluorescence quantum yield, FRET
// efficiency, Stokes-Einstein diffusion, Fick flux and Poiseuille flow.
//
// Two checks here are equality tests against zero (r0, dx): they reject -0.0 as well as 0.0
// and let NaN and every non-zero value through. The small powers are written out as the
// products they stand for, never left to pow().
#pragma once

#include "error/quorin_error.hpp"

namespace quorin::formulas {

inline constexpr auto beer_lambert = []<class V>(V eps, V c, V l) -> Result<V> {
    if (eps <= 0.0) return fail("Quorin.BeerLambert: \u03b5, c, l must be positive");
    if (c <= 0.0) return fail("Quorin.BeerLambert: \u03b5, c, l must be positive");
    if (l <= 0.0) return fail("Quorin.BeerLambert: \u03b5, c, l must be positive");
    return (eps * c) * l;
};

inline constexpr auto quantum_yield = []<class V>(V kr, V knr) -> Result<V> {
    if (kr <= 0.0) return fail("Quorin.FluorescenceQuantumYield: kr must be positive");
    if (knr < 0.0) return fail("Quorin.FluorescenceQuantumYield: knr must be non-negative");
    return kr / (knr + kr);
};

// Only the sixth power of r / r0 enters, so the signs of r and r0 do not matter. It is formed
// as (q2 * q2) * q2, the products binary exponentiation takes for the exponent 6.
inline constexpr auto fret_efficiency = []<class V>(V r, V r0) -> Result<V> {
    if (r0 == 0.0) return fail("Quorin.FretEfficiency: R\u2080 must be non-zero");
    V q = r / r0;
    V q2 = q * q;
    V q6 = (q2 * q2) * q2;
    return 1.0 / (q6 + 1.0);
};

// 18.84955592153876 is 6 * pi as one double; it scales eta before r is multiplied in.
inline constexpr auto einstein_stokes = []<class V>(V t, V eta, V r) -> Result<V> {
    if (t <= 0.0) return fail("Quorin.EinsteinStokes: T, \u03b7, r must be positive");
    if (eta <= 0.0) return fail("Quorin.EinsteinStokes: T, \u03b7, r must be positive");
    if (r <= 0.0) return fail("Quorin.EinsteinStokes: T, \u03b7, r must be positive");
    return (t * 1.380649e-23) / ((eta * 18.84955592153876) * r);
};

// The flux runs down the gradient: -d scales the difference, so equal concentrations with
// positive d and dx give -0.0.
inline constexpr auto fick_flux = []<class V>(V d, V c_high, V c_low, V dx) -> Result<V> {
    if (dx == 0.0) return fail("Quorin.FickDiffusion: \u0394x must be non-zero");
    V m = -d;
    V diff = c_high - c_low;
    return (diff * m) / dx;
};

inline constexpr auto poiseuille_flow = []<class V>(V r, V dp, V eta, V l) -> Result<V> {
    if (r <= 0.0) return fail("Quorin.PoiseuilleFlow: r, \u0394P, \u03b7, L must be positive");
    if (dp <= 0.0) return fail("Quorin.PoiseuilleFlow: r, \u0394P, \u03b7, L must be positive");
    if (eta <= 0.0) return fail("Quorin.PoiseuilleFlow: r, \u0394P, \u03b7, L must be positive");
    if (l <= 0.0) return fail("Quorin.PoiseuilleFlow: r, \u0394P, \u03b7, L must be positive");
    V r2 = r * r;
    V r4 = r2 * r2;
    V a = r4 * 3.141592653589793;
    V top = dp * a;
    V b = eta * 8.0;
    V bottom = l * b;
    return top / bottom;
};

}  // namespace quorin::formulas
