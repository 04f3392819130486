#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows molecular{};

}  // namespace quorin::formulas::py
