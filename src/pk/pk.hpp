// First-order elimination, the inhibition constant / IC50 relation and Michaelis-Menten velocity.
#pragma once

#include <cmath>

#include "error/quorin_error.hpp"

namespace quorin::pk {

// C0 * e^(-ke * t): the sign of ke is flipped before the one multiplication.
inline Result<double> first_order_pk_concentration(double c0, double ke, double time) {
    if (c0 <= 0.0) return fail("Quorin.FirstOrderPK: c0 must be positive (concentration_pos)");
    if (ke < 0.0) return fail("Quorin.FirstOrderPK: ke must be non-negative");
    if (time < 0.0) return fail("Quorin.FirstOrderPK: time must be non-negative");
    double e = time * (-ke);
    return std::exp(e) * c0;
}

inline constexpr auto first_order_pk_halflife = []<class V>(V ke) -> Result<V> {
    if (ke <= 0.0) return fail("Quorin.FirstOrderPK: ke must be positive (halflife_positive)");
    return 0.6931471805599453 / ke;
};

// IC50 = Ki * (1 + [S] / Km).
inline constexpr auto ic50_bound = []<class V>(V ki, V substrate, V km) -> Result<V> {
    if (ki <= 0.0) return fail("Quorin.IC50Relationship: ki must be positive (ic50_pos)");
    if (substrate < 0.0) return fail("Quorin.IC50Relationship: substrate must be non-negative");
    if (km <= 0.0) return fail("Quorin.IC50Relationship: km must be positive (ic50_pos)");
    V q = substrate / km;
    q = q + 1.0;
    return ki * q;
};

// v = Vmax * [S] / (Km + [S]).
inline constexpr auto michaelis_menten = []<class V>(V vmax, V km, V substrate) -> Result<V> {
    if (vmax <= 0.0) return fail("Quorin.MichaelisMenten: vmax must be positive (velocity_pos)");
    if (km <= 0.0) return fail("Quorin.MichaelisMenten: km must be positive");
    if (substrate <= 0.0)
        return fail("Quorin.MichaelisMenten: substrate must be positive (velocity_pos)");
    V n = vmax * substrate;
    V d = km + substrate;
    return n / d;
};

}  // namespace quorin::pk
