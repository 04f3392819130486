#include "structure/rotation.hpp"

#include <cmath>

namespace quorin::structure {
namespace {

using Matrix4 = std::array<std::array<double, 4>, 4>;

// Horn's matrix N of the cross moments.
Matrix4 horn_matrix(const std::array<Triple, 3>& s) {
    const double sxx = s[0][0], sxy = s[0][1], sxz = s[0][2];
    const double syx = s[1][0], syy = s[1][1], syz = s[1][2];
    const double szx = s[2][0], szy = s[2][1], szz = s[2][2];
    return {{{(sxx + syy) + szz, syz - szy, szx - sxz, sxy - syx},
             {syz - szy, (sxx - syy) - szz, sxy + syx, szx + sxz},
             {szx - sxz, sxy + syx, (syy - sxx) - szz, syz + szy},
             {sxy - syx, szx + sxz, syz + szy, (szz - sxx) - syy}}};
}

// Cyclic Jacobi rotations on a symmetric matrix with entries of at most 1 (Golub and Van
// Loan, 8.5): a diagonalised, its eigenvectors in the columns of v. An entry below 1e-18 moves
// the eigenvalues by less than rounding does and is left; a sweep that leaves every entry ends
// it, after four or five sweeps as a rule (convergence is quadratic).
void jacobi(Matrix4& a, Matrix4& v) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) v[i][j] = i == j ? 1.0 : 0.0;
    for (int sweep = 0; sweep < 32; ++sweep) {
        bool rotated = false;
        for (int p = 0; p < 3; ++p)
            for (int q = p + 1; q < 4; ++q) {
                if (!(std::fabs(a[p][q]) > 1e-18)) continue;
                rotated = true;
                const double tau = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                // The smaller root of t² + 2τt − 1 = 0; 1/(2τ) where τ² would overflow.
                const double t = std::fabs(tau) > 1e150
                                     ? 0.5 / tau
                                     : (tau >= 0.0 ? 1.0 : -1.0) /
                                           (std::fabs(tau) + std::sqrt(1.0 + tau * tau));
                const double c = 1.0 / std::sqrt(1.0 + t * t), sn = t * c;
                for (int k = 0; k < 4; ++k) {  // a = a J
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - sn * akq;
                    a[k][q] = sn * akp + c * akq;
                }
                for (int k = 0; k < 4; ++k) {  // a = Jᵀ a
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - sn * aqk;
                    a[q][k] = sn * apk + c * aqk;
                }
                a[p][q] = a[q][p] = 0.0;  // what the rotation makes it, but for rounding
                for (int k = 0; k < 4; ++k) {  // v = v J
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - sn * vkq;
                    v[k][q] = sn * vkp + c * vkq;
                }
            }
        if (!rotated) return;
    }
}

std::array<Triple, 3> rotation_of(double q0, double q1, double q2, double q3) {
    const double norm = std::sqrt(((q0 * q0 + q1 * q1) + q2 * q2) + q3 * q3);
    q0 /= norm, q1 /= norm, q2 /= norm, q3 /= norm;
    return {{{((q0 * q0 + q1 * q1) - q2 * q2) - q3 * q3, 2.0 * (q1 * q2 - q0 * q3),
              2.0 * (q1 * q3 + q0 * q2)},
             {2.0 * (q1 * q2 + q0 * q3), ((q0 * q0 - q1 * q1) + q2 * q2) - q3 * q3,
              2.0 * (q2 * q3 - q0 * q1)},
             {2.0 * (q1 * q3 - q0 * q2), 2.0 * (q2 * q3 + q0 * q1),
              ((q0 * q0 - q1 * q1) - q2 * q2) + q3 * q3}}};
}

}  // namespace

BestRotation best_rotation(const std::array<Triple, 3>& s) noexcept {
    Matrix4 n = horn_matrix(s);
    // Scaled to entries of at most 1, so that no square in the rotations overflows.
    double scale = 0.0;
    for (const auto& row : n)
        for (double x : row) scale = std::fmax(scale, std::fabs(x));
    if (scale == 0.0) return {rotation_of(1.0, 0.0, 0.0, 0.0), 0.0};
    for (auto& row : n)
        for (double& x : row) x /= scale;
    Matrix4 v;
    jacobi(n, v);
    int best = 0;
    for (int k = 1; k < 4; ++k)
        if (n[k][k] > n[best][best]) best = k;
    return {rotation_of(v[0][best], v[1][best], v[2][best], v[3][best]), n[best][best] * scale};
}

}  // namespace quorin::structure
