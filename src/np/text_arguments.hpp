// The arguments of quorin_np's functions over texts, as NumPy arrays of their elements.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>

#include <utility>

#include "frame.hpp"

namespace quorin::np {

using frame::owned;

// Imports NumPy's C API for the functions below; false with an exception if it cannot.
bool import_argument_api();

// One argument as an array whose elements are objects or StringDType strings. A str (or bytes,
// or any other single value) is one element; a list, a tuple and any other iterable are one
// dimension of elements, taken as they are (never converted by NumPy); an array keeps its shape.
PyArrayObject* as_column(PyObject* o);

// False, with RuntimeError naming `function`, when a list that as_column read in place has been
// resized or reallocated since (the lock is released between chunks).
bool unchanged(PyArrayObject* column, const char* function);

bool is_pandas_series(PyObject* o);

// A new Series of `result` (whose reference it takes) on the index and with the name of `series`.
PyObject* like_series(PyObject* result, PyObject* series);

}  // namespace quorin::np
