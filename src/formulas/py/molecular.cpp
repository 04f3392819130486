#include "formulas/molecular.hpp"
#include "table.hpp"

namespace quorin::formulas::py {

constexpr Row kMolecular[] = {
    def<"dna_tm", "(a, t, g, c)", dna_tm>,
    def<"energy_charge", "(atp, adp, amp)", energy_charge_inner>,
    def<"modified_nucleotide_ratio", "(modified, total)", modified_nucleotide_ratio>,
    def<"pairwise_potential", "(pairs)", pairwise_potential>,
    def<"riboswitch_confidence", "(mfe, ensemble_div)", riboswitch_confidence_inner>,
    def<"tm_term", "(d, d0)", tm_term>,
    def<"tm_score", "(distances, l_target, d0)", tm_score_inner>,
};
constinit const Rows molecular = kMolecular;

}  // namespace quorin::formulas::py
