// The arguments NumPy cannot take as the scalar function does: a NumPy masked array among the
// inputs (NumPy would compute under the mask too), and for a count an int beyond int64, a list
// or tuple (which NumPy may read as floats) or an array of objects. quorin_np._interop prepares
// such a call and makes it again with arrays NumPy reads as the scalar function would.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include "frame.hpp"

namespace quorin::np {

inline bool is_name(PyObject* name, const char* s) {
    return PyUnicode_Check(name) && PyUnicode_CompareWithASCIIString(name, s) == 0;
}

// Imports NumPy's C API for the functions below; -1 with an exception if it cannot.
int import_prepare_api();

// Whether the call needs preparing. Not when an argument takes ufunc calls over (a pandas
// Series, a Dask array): NumPy hands it the call, which comes back here with NumPy's arrays.
bool needs_preparing(const array::Form& f, PyObject* const* args, Py_ssize_t nargs,
                     PyObject* kwnames);

// quorin_np._interop.exact_call(ufunc, args, kwargs).
PyObject* prepared_call(PyObject* ufunc, PyObject* const* args, Py_ssize_t nargs,
                        PyObject* kwnames);

}  // namespace quorin::np
