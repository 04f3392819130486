#include "structure/superpose.hpp"

#include <cmath>
#include <limits>

#include "structure/moments.hpp"
#include "structure/rotation.hpp"

namespace quorin::structure {
namespace {

bool finite(double v) { return std::isfinite(v); }

bool all_finite(const Moments& m) {
    bool ok = finite(m.weight) && finite(m.squares);
    for (int a = 0; a < 3; ++a) {
        ok = ok && finite(m.sum_x[a]) && finite(m.sum_y[a]);
        for (int b = 0; b < 3; ++b) ok = ok && finite(m.cross[a][b]);
    }
    return ok;
}

bool coordinates_finite(const List<Triple>& x) {
    for (const Triple& p : x)
        if (!finite(p[0]) || !finite(p[1]) || !finite(p[2])) return false;
    return true;
}

Triple rotated(const std::array<Triple, 3>& r, const Triple& p) {
    Triple out;
    for (int a = 0; a < 3; ++a) out[a] = (r[a][0] * p[0] + r[a][1] * p[1]) + r[a][2] * p[2];
    return out;
}

// Σ w |R (x' − cx) − (y' − cy)|², atom by atom, with x' and y' as the moment pass made them.
double residuals(const List<Triple>& x, const List<Triple>& y, const List<double>* w,
                 const std::array<Triple, 3>& r, const Triple& cx, const Triple& cy) {
    const Triple x0 = x[0], y0 = y[0];
    double s = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const Triple p = x[i], q = y[i];
        Triple u, v;
        for (int c = 0; c < 3; ++c) {
            u[c] = (p[c] - x0[c]) - cx[c];
            v[c] = (q[c] - y0[c]) - cy[c];
        }
        const Triple ru = rotated(r, u);
        const double dx = ru[0] - v[0], dy = ru[1] - v[1], dz = ru[2] - v[2];
        const double d2 = (dx * dx + dy * dy) + dz * dz;
        s = s + (w ? (*w)[i] * d2 : d2);
    }
    return s;
}

}  // namespace

Result<Fit> fit(const List<Triple>& x, const List<Triple>& y, const List<double>* w,
                const Messages& says, bool with_rmsd) {
    if (x.size() != y.size()) return fail(says.lengths);
    if (w && w->size() != x.size()) return fail(says.weight_lengths);
    if (x.empty()) return fail(says.empty);
    const Moments m = moments(x, y, w);
    if (w) {
        if (!finite(m.weight) || m.least_weight < 0.0) return fail(says.weight_values);
        if (m.weight == 0.0) return fail(says.weight_total);
    }
    if (!all_finite(m))
        return fail(coordinates_finite(x) && coordinates_finite(y) ? says.too_large : says.finite);

    // Centred: S = Σ w x' y'ᵀ − (Σ w x')(Σ w y')ᵀ / W, and G = Σ w (|x − cx|² + |y − cy|²).
    const double total = m.weight;
    Triple cx, cy;
    std::array<Triple, 3> s;
    double spread = m.squares;
    for (int a = 0; a < 3; ++a) {
        cx[a] = m.sum_x[a] / total;
        cy[a] = m.sum_y[a] / total;
        spread = spread - (m.sum_x[a] * m.sum_x[a] + m.sum_y[a] * m.sum_y[a]) / total;
        for (int b = 0; b < 3; ++b) s[a][b] = m.cross[a][b] - (m.sum_x[a] * m.sum_y[b]) / total;
    }
    bool ok = finite(spread);
    for (const Triple& row : s) ok = ok && finite(row[0]) && finite(row[1]) && finite(row[2]);
    if (!ok) return fail(says.too_large);

    Fit f{};
    const double n = static_cast<double>(x.size());
    if (with_rmsd) {
        // The rounding of G − 2λ is at most about (n/8 + 64) ε Σ w(|x'|² + |y'|²): the sums run
        // in eight lanes of n/8 atoms, the rest is a few dozen operations. Taken when that is
        // below 1e-9 of the difference, a billionth of the result; otherwise the residuals
        // after the superposition decide.
        const double rounding =
            (n / 8.0 + 64.0) * std::numeric_limits<double>::epsilon() * m.squares;
        const double by_moments = spread - 2.0 * largest_eigenvalue(s);
        if (by_moments * 1e-9 >= rounding) {
            f.rmsd = std::sqrt(by_moments / total);
            return f;
        }
    }
    const BestRotation best = best_rotation(s);
    f.motion.rotation = best.rotation;
    const Triple x0 = x[0], y0 = y[0];
    Triple mobile_centre, target_centre;
    for (int a = 0; a < 3; ++a) {
        mobile_centre[a] = x0[a] + cx[a];
        target_centre[a] = y0[a] + cy[a];
    }
    const Triple moved = rotated(best.rotation, mobile_centre);
    for (int a = 0; a < 3; ++a) f.motion.translation[a] = target_centre[a] - moved[a];
    f.rmsd = 0.0;
    if (!with_rmsd) return f;
    const double sum = residuals(x, y, w, best.rotation, cx, cy);
    f.rmsd = std::sqrt(sum / total);
    return f;
}

}  // namespace quorin::structure
