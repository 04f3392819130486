#include "formulas/ageing.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

// The exported function's own binding: the frame turns the core's error into ValueError.
Result<double> inflamm_aging_score(double w_il6, double w_tnfa, double w_crp, double il6,
                                   double tnfa, double crp) {
    return inflamm_score_inner(w_il6, w_tnfa, w_crp, il6, tnfa, crp);
}

constexpr Row kAgeing[] = {
    def<"telomere_attrition", "(l0, delta, n)", telomere_attrition>,
    def<"epigenetic_acceleration", "(clock_age, chrono_age)", epigenetic_acceleration>,
    def<"senolytic_healthy_damage", "(sel, dose)", senolytic_healthy_damage>,
    def<"nad_ratio", "(nad_plus, nadh)", nad_ratio>,
    def<"inflamm_aging_score", "(w_il6, w_tnfa, w_crp, il6, tnfa, crp)", inflamm_aging_score>,
};
constinit const Rows ageing = kAgeing;

}  // namespace quorin::formulas::py
