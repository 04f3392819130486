#include "formulas/ageing.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kAgeing[] = {
    def<"telomere_attrition", "(l0, delta, n)", telomere_attrition>,
    def<"epigenetic_acceleration", "(clock_age, chrono_age)", epigenetic_acceleration>,
    def<"senolytic_healthy_damage", "(sel, dose)", senolytic_healthy_damage>,
    def<"nad_ratio", "(nad_plus, nadh)", nad_ratio>,
    def<"inflamm_aging_score", "(w_il6, w_tnfa, w_crp, il6, tnfa, crp)", inflamm_score_inner>,
};
constinit const Rows ageing = kAgeing;

}  // namespace quorin::formulas::py
