#include "table.hpp"

namespace quorin::pk {

constinit const Rows rows{};

}  // namespace quorin::pk
