#include "formulas/growth.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kGrowth[] = {
    def<"sigmoid", "(x)", sigmoid>,
    def<"logistic_growth", "(k, n0, r, t)", logistic_growth_inner>,
    def<"clone_size", "(n0, r, t)", clone_size>,
    def<"doubling_time", "(mu)", doubling_time>,
    def<"pcr_copies", "(n0, e, n)", pcr_copies>,
    def<"dilution_concentration", "(c0, d, n)", dilution_concentration>,
    def<"allometric", "(a, m, b)", allometric>,
    def<"weibull_survival", "(t, lambda, k)", weibull_survival>,
    def<"reproduction_number", "(beta, gamma)", reproduction_number>,
};
constinit const Rows growth = kGrowth;

}  // namespace quorin::formulas::py
