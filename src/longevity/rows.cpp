#include "longevity/longevity.hpp"
#include "table.hpp"

namespace quorin::longevity {

constexpr Row kRows[] = {
    def<"biological_age_bound",
        "(pheno_age, telomere_age, epigenetic_age, w1=0.333, w2=0.333, w3=0.334)",
        biological_age_bound>,
    def<"telomere_length_bound", "(age)", telomere_length_bound>,
    def<"gompertz_hazard", "(alpha, beta, time)", gompertz_hazard>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::longevity
