#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows growth{};

}  // namespace quorin::formulas::py
