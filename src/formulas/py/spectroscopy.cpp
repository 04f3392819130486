#include "table.hpp"

namespace quorin::formulas::py {

constinit const Rows spectroscopy{};

}  // namespace quorin::formulas::py
