#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows thermodynamics{};

}  // namespace quorin::formulas::py
