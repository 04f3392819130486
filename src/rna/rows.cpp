#include "table.hpp"

namespace quorin::rna {

constinit const Rows rows{};

}  // namespace quorin::rna
