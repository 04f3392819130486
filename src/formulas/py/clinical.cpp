#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows clinical{};

}  // namespace quorin::formulas::py
