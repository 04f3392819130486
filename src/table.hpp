// The registration table: one group of rows per subsystem, registered in this order.
#pragma once

#include <array>
#include <span>

#include "frame.hpp"

namespace quorin {

using Rows = std::span<const Row>;

namespace mrna { extern const Rows rows; }
namespace sequence { extern const Rows rows; }
namespace pk { extern const Rows rows; }
namespace longevity { extern const Rows rows; }
namespace statistics { extern const Rows rows; }
namespace formulas::py {
extern const Rows thermodynamics;
extern const Rows kinetics;
extern const Rows optics_transport;
extern const Rows growth;
extern const Rows clinical;
extern const Rows molecular;
extern const Rows ageing;
}  // namespace formulas::py
namespace rna {
extern const Rows rows;
extern const Rows structure_rows;
}  // namespace rna
namespace published { extern const Rows rows; }
namespace structure { extern const Rows rows; }

// Registration order of the whole module.
inline const Rows* const table[] = {
    &mrna::rows,
    &sequence::rows,
    &pk::rows,
    &longevity::rows,
    &statistics::rows,
    &formulas::py::thermodynamics,
    &formulas::py::kinetics,
    &formulas::py::optics_transport,
    &formulas::py::growth,
    &formulas::py::clinical,
    &formulas::py::molecular,
    &formulas::py::ageing,
    &rna::rows,
};

// The functions of quorin_np alone (published scores, structures, ...): rows built like the
// contracts' from cores of their own, registered by quorin_np after the contracts and never by
// quorin, whose functions are exactly those of the table above. Add a group as
// `inline const std::array array_only{&group, ...};`.
inline const std::array array_only{&published::rows, &rna::structure_rows, &structure::rows};

// Every row quorin_np registers, in its order: the contracts, then its own.
template <class F>
void for_each_array_row(F&& f) {
    for (const Rows* group : table)
        for (const Row& row : *group) f(row);
    for (const Rows* group : array_only)
        for (const Row& row : *group) f(row);
}

}  // namespace quorin
