#include "formulas/kinetics.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kKinetics[] = {
    def<"hill_effect", "(emax, ec50, c, n)", hill_effect_inner>,
    def<"hill_occupancy", "(s, k, n)", hill_occupancy>,
    def<"langmuir_coverage", "(k, c)", langmuir_coverage>,
    def<"monod_growth", "(mu_max, ks, s)", monod_growth>,
    def<"receptor_occupancy", "(l, kd)", receptor_occupancy>,
    def<"competitive_inhibition", "(vmax, km, s, i, ki)", competitive_inhibition_inner>,
    def<"catalytic_efficiency", "(kcat, km)", catalytic_efficiency>,
    def<"protein_steady_state", "(ksyn, kdeg)", protein_steady_state>,
};
constinit const Rows kinetics = kKinetics;

}  // namespace quorin::formulas::py
