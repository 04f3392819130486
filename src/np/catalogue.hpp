// quorin_np.catalogue: one read-only record per function quorin_np registers, from its row.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace quorin::np {

// Adds `catalogue` (a tuple of FunctionInfo records, in registration order) and the record type
// `FunctionInfo` to the module.
int add_catalogue(PyObject* module);

}  // namespace quorin::np
