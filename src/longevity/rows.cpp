#include "table.hpp"

namespace quorin::longevity {

constinit const Rows rows{};

}  // namespace quorin::longevity
