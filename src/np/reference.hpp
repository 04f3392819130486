// The reference text of every function in its array wording (generated into ufunc_docs.inc from
// the one source of the reference), for the docstrings of quorin_np's functions.
#pragma once

#include <string_view>

namespace quorin::np {

// The text for the function named `name`, or nullptr when the reference has none.
const char* reference_text(std::string_view name) noexcept;

}  // namespace quorin::np
