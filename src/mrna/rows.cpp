#include "mrna/mrna.hpp"
#include "table.hpp"

namespace quorin::mrna {

constexpr Row kRows[] = {
    def<"mrna_halflife_concentration", "(initial, decay_rate, time)", mrna_halflife_concentration>,
    def<"mrna_halflife", "(decay_rate)", mrna_halflife>,
    def<"ribosome_density", "(n_ribosomes, length)", ribosome_density>,
    def<"translation_rate", "(codon_rate, ribosome_density, mrna_copies)", translation_rate>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::mrna
