#include "statistics/statistics.hpp"
#include "table.hpp"

namespace quorin::statistics {

constexpr Row kRows[] = {
    def<"hardy_weinberg", "(p)", hardy_weinberg>,
    def<"hardy_weinberg_test", "(n_aa_dom, n_aa_het, n_aa_rec)", hardy_weinberg_test>,
    def<"protein_rmsd", "(coords1, coords2)", protein_rmsd>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::statistics
