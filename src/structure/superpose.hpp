// Optimal rigid superposition of two structures of paired atoms: the rotation and translation
// that minimise the (weighted) RMSD between them, and that RMSD.
//
// One pass over the atoms gathers the moments (moments.hpp); the rotation follows in closed
// form (rotation.hpp). The RMSD is then Σ w|R x − y|² = G − 2λ over the centred structures,
// unless that difference is so small beside the structures' size that its rounding would show:
// then the atoms are read once more and their residuals after superposition summed directly,
// which keeps the result accurate down to identical structures.
#pragma once

#include <utility>

#include "error/quorin_error.hpp"
#include "numeric.hpp"

namespace quorin::structure {

// The messages of one function, each starting with its own name.
struct Messages {
    const char* lengths;
    const char* empty;
    const char* finite;
    const char* too_large;
    const char* weight_lengths = nullptr;
    const char* weight_values = nullptr;
    const char* weight_total = nullptr;
};

struct Fit {
    RigidMotion motion;  // mobile @ R.T + t lies on target
    double rmsd;         // only when asked for
};

Result<Fit> fit(const List<Triple>& mobile, const List<Triple>& target, const List<double>* weights,
                const Messages& says, bool with_rmsd);

inline constexpr Messages kRmsd{
    "Quorin.SuperposedRmsd: coordinate arrays must have the same length",
    "Quorin.SuperposedRmsd: structures must have at least one atom",
    "Quorin.SuperposedRmsd: coordinates must be finite",
    "Quorin.SuperposedRmsd: coordinates too far apart to superpose (their squares overflow)",
};
inline constexpr Messages kWeighted{
    "Quorin.SuperposedRmsdWeighted: coordinate arrays must have the same length",
    "Quorin.SuperposedRmsdWeighted: structures must have at least one atom",
    "Quorin.SuperposedRmsdWeighted: coordinates must be finite",
    "Quorin.SuperposedRmsdWeighted: coordinates too far apart to superpose (their squares "
    "overflow)",
    "Quorin.SuperposedRmsdWeighted: weights must have one value per atom",
    "Quorin.SuperposedRmsdWeighted: weights must be finite and non-negative",
    "Quorin.SuperposedRmsdWeighted: weights must not all be zero",
};
inline constexpr Messages kSuperpose{
    "Quorin.Superpose: coordinate arrays must have the same length",
    "Quorin.Superpose: structures must have at least one atom",
    "Quorin.Superpose: coordinates must be finite",
    "Quorin.Superpose: coordinates too far apart to superpose (their squares overflow)",
};

inline Result<double> superposed_rmsd(List<Triple> coords, List<Triple> reference) {
    auto f = fit(coords, reference, nullptr, kRmsd, true);
    if (!f) return fail(std::move(f.error()));
    return f->rmsd;
}

inline Result<double> superposed_rmsd_weighted(List<Triple> coords, List<Triple> reference,
                                               List<double> weights) {
    auto f = fit(coords, reference, &weights, kWeighted, true);
    if (!f) return fail(std::move(f.error()));
    return f->rmsd;
}

inline Result<RigidMotion> superpose(List<Triple> mobile, List<Triple> target) {
    auto f = fit(mobile, target, nullptr, kSuperpose, false);
    if (!f) return fail(std::move(f.error()));
    return f->motion;
}

}  // namespace quorin::structure
