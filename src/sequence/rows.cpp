#include "table.hpp"

namespace quorin::sequence {

constinit const Rows rows{};

}  // namespace quorin::sequence
