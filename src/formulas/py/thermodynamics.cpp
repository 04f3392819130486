#include "formulas/thermodynamics.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kThermodynamics[] = {
    def<"gibbs_free_energy", "(dh, t, ds)", gibbs_free_energy>,
    def<"arrhenius_rate", "(a, ea, t)", arrhenius_rate>,
    def<"boltzmann_factor", "(e, t)", boltzmann_factor>,
    def<"boltzmann_probability", "(e, t, z)", boltzmann_probability>,
    def<"nernst_potential", "(e0, t, n, c_out, c_in)", nernst_potential_inner>,
    def<"osmotic_pressure", "(i, m, t)", osmotic_pressure>,
    def<"proton_motive_force", "(d_psi, t, d_ph)", proton_motive_force>,
};
constinit const Rows thermodynamics = kThermodynamics;

}  // namespace quorin::formulas::py
