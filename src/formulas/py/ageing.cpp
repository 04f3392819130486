#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows ageing{};

}  // namespace quorin::formulas::py
