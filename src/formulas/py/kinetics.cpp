#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows kinetics{};

}  // namespace quorin::formulas::py
