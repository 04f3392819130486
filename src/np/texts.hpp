// The functions of quorin_np over collections of str, one per row whose core takes texts.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace quorin::np {

// Adds one function per such row to the module. Each runs the row's core over the elements of
// its arguments (a str, a list or tuple of str, a NumPy array of StringDType or objects, a pandas
// Series) without the interpreter lock, under the refusal mode of np/mode.hpp.
int add_text_functions(PyObject* module);

}  // namespace quorin::np
