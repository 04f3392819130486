#include "table.hpp"

namespace quorin::statistics {

constinit const Rows rows{};

}  // namespace quorin::statistics
