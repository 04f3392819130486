// The rotation that best superposes one centred structure on another, from their cross moments
// S[a][b] = Σ w x_a y_b: Horn's closed form with unit quaternions (J. Opt. Soc. Am. A 4, 629,
// 1987). The quaternion of the rotation is the eigenvector of the largest eigenvalue λ of a
// symmetric 4×4 matrix built from S, and Σ w |R x − y|² = Σ w |x|² + Σ w |y|² − 2λ.
// A quaternion always gives a proper rotation (determinant +1), never a reflection.
#pragma once

#include <array>

#include "numeric.hpp"

namespace quorin::structure {

struct BestRotation {
    std::array<Triple, 3> rotation;  // by rows
    double lambda;                   // the largest eigenvalue, in the unit of S
};

// S must be finite. When several rotations are best (collinear or coincident points), the one
// given is that of the first eigenvector found for λ; for S = 0 it is the identity.
BestRotation best_rotation(const std::array<Triple, 3>& s) noexcept;

// λ alone, as accurately as best_rotation gives it and faster: Newton's method on the
// characteristic polynomial of the 4 × 4 matrix from above, as in Theobald's QCP (Acta Cryst.
// A61, 478, 2005), then the Rayleigh quotient of the eigenvector read off the adjugate of
// N − λI, which is exact to second order in that vector's error. Where λ is close to another
// eigenvalue the adjugate vanishes, and the Jacobi rotations of best_rotation decide instead.
double largest_eigenvalue(const std::array<Triple, 3>& s) noexcept;

}  // namespace quorin::structure
