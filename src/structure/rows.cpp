#include "structure/superpose.hpp"
#include "table.hpp"

namespace quorin::structure {

constexpr Row kRows[] = {
    def_array<"superposed_rmsd", "(coords, reference)", superposed_rmsd>,
    def_array<"superposed_rmsd_weighted", "(coords, reference, weights)", superposed_rmsd_weighted>,
    def_array<"superpose", "(mobile, target)", superpose>,
};
constinit const Rows rows = kRows;

}  // namespace quorin::structure
