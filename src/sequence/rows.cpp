#include "sequence/sequence.hpp"
#include "table.hpp"

namespace quorin::sequence {

constexpr Row kRows[] = {
    def<"gc_content", "(sequence)", gc_content>,
    def<"sequence_identity", "(seq1, seq2)", sequence_identity>,
    def<"shannon_entropy", "(p)", shannon_entropy>,
    def<"shannon_entropy_dist", "(probabilities)", shannon_entropy_dist>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::sequence
