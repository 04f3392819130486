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

// Scaled to entries of at most 1, so that no square in the rotations overflows; the scale,
// or 0 for the zero matrix.
double scale_down(Matrix4& n) {
    double scale = 0.0;
    for (const auto& row : n)
        for (double x : row) scale = std::fmax(scale, std::fabs(x));
    if (scale > 0.0)
        for (auto& row : n)
            for (double& x : row) x /= scale;
    return scale;
}

double det3(double a, double b, double c, double d, double e, double f, double g, double h,
            double i) {
    return (a * (e * i - f * h) - b * (d * i - f * g)) + c * (d * h - e * g);
}

// det(N − λI) = λ⁴ + c2 λ² + c1 λ + c0 for the traceless symmetric N.
struct Quartic {
    double c2, c1, c0;
    double at(double x) const { return ((x * x + c2) * x + c1) * x + c0; }
    double slope(double x) const { return (4.0 * x * x + 2.0 * c2) * x + c1; }
};

// From N (scaled) and its S (scaled alike), as Theobald writes the coefficients: c2 = −tr(N²)/2,
// c1 = −tr(N³)/3 = −8 det S, c0 = det N.
Quartic characteristic(const Matrix4& n, const std::array<Triple, 3>& s) {
    double squares = 0.0;
    for (const auto& row : n)
        for (double x : row) squares += x * x;
    const double det_s = det3(s[0][0], s[0][1], s[0][2], s[1][0], s[1][1], s[1][2], s[2][0],
                              s[2][1], s[2][2]);
    double det = 0.0;
    for (int j = 0; j < 4; ++j) {
        int c[3], m = 0;
        for (int k = 0; k < 4; ++k)
            if (k != j) c[m++] = k;
        double minor = det3(n[1][c[0]], n[1][c[1]], n[1][c[2]], n[2][c[0]], n[2][c[1]],
                            n[2][c[2]], n[3][c[0]], n[3][c[1]], n[3][c[2]]);
        det += (j % 2 == 0 ? n[0][j] : -n[0][j]) * minor;
    }
    return {-0.5 * squares, -8.0 * det_s, det};
}

}  // namespace

double largest_eigenvalue(const std::array<Triple, 3>& s) noexcept {
    Matrix4 n = horn_matrix(s);
    const double scale = scale_down(n);
    if (scale == 0.0) return 0.0;
    std::array<Triple, 3> scaled;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) scaled[a][b] = s[a][b] / scale;
    const Quartic p = characteristic(n, scaled);
    // From above (λ ≤ the sum of the absolute entries of a row) Newton's steps fall onto the
    // largest root.
    double x = 0.0;
    for (const auto& row : n)
        x = std::fmax(x, (std::fabs(row[0]) + std::fabs(row[1])) + (std::fabs(row[2]) + std::fabs(row[3])));
    for (int step = 0; step < 50; ++step) {
        const double slope = p.slope(x);
        if (!(slope > 0.0)) break;
        const double next = x - p.at(x) / slope;
        if (!(next < x) || x - next <= 1e-11 * std::fabs(x)) {
            x = next < x ? next : x;
            break;
        }
        x = next;
    }
    // The first column of adj(N − xI) (each entry a signed 3 × 3 minor) of length at least
    // 1e-2; its entries are cubes of entries of at most 1 and of x, so a shorter one says that
    // another eigenvalue is near, and if every column is short the rotations decide.
    Matrix4 m = n;
    for (int i = 0; i < 4; ++i) m[i][i] -= x;
    double v[4] = {};
    bool found = false;
    for (int col = 0; col < 4 && !found; ++col) {
        double norm = 0.0;
        for (int row = 0; row < 4; ++row) {
            int r[3], c[3], a = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                if (k != col) r[a++] = k;
                if (k != row) c[b++] = k;
            }
            const double minor = det3(m[r[0]][c[0]], m[r[0]][c[1]], m[r[0]][c[2]], m[r[1]][c[0]],
                                      m[r[1]][c[1]], m[r[1]][c[2]], m[r[2]][c[0]], m[r[2]][c[1]],
                                      m[r[2]][c[2]]);
            v[row] = (row + col) % 2 == 0 ? minor : -minor;
            norm += v[row] * v[row];
        }
        found = norm >= 1e-4;
    }
    if (!found) return best_rotation(s).lambda;
    double quotient = 0.0, length = 0.0;
    for (int i = 0; i < 4; ++i) {
        double nv = 0.0;
        for (int j = 0; j < 4; ++j) nv += n[i][j] * v[j];
        quotient += v[i] * nv;
        length += v[i] * v[i];
    }
    return quotient / length * scale;
}

BestRotation best_rotation(const std::array<Triple, 3>& s) noexcept {
    Matrix4 n = horn_matrix(s);
    const double scale = scale_down(n);
    if (scale == 0.0) return {rotation_of(1.0, 0.0, 0.0, 0.0), 0.0};
    Matrix4 v;
    jacobi(n, v);
    int best = 0;
    for (int k = 1; k < 4; ++k)
        if (n[k][k] > n[best][best]) best = k;
    return {rotation_of(v[0][best], v[1][best], v[2][best], v[3][best]), n[best][best] * scale};
}

}  // namespace quorin::structure
