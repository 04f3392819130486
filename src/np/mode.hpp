// The refusal mode of quorin_np's calls, held in the context variable quorin_np._core.refused
// that quorin_np.errstate sets: per thread and per task.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace quorin::np {

enum class Mode { raise, nan, warn };

// The context variable, created by the module; nullptr before.
extern PyObject* mode_var;

// The mode of the current thread and task; "raise" unless an errstate says otherwise. False,
// with ValueError, when the variable holds anything but one of the three modes.
bool current_mode(Mode& mode);

}  // namespace quorin::np
