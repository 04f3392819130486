// The arguments of quorin_np's functions over texts, as NumPy arrays of their elements, and what
// counts as a missing element.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>

#include "frame.hpp"

namespace quorin::np {

using frame::owned;

// Imports NumPy's C API for the functions below; false with an exception if it cannot.
bool import_argument_api();

// One argument as an array whose elements are objects or StringDType strings. A str (or bytes,
// or any other single value) is one element; a list, a tuple and any other iterable are one
// dimension of elements, taken as they are (never converted by NumPy); an array keeps its shape.
// A mapping is refused with a TypeError that says to pass its values.
PyArrayObject* as_column(PyObject* o, const char* function, const char* parameter);

// False, with RuntimeError naming `function`, when a list that as_column read in place has been
// resized or reallocated since (the lock is released between chunks).
bool unchanged(PyArrayObject* column, const char* function);

// A missing value as the tables users hold spell it: None, a float NaN, pandas' NA and NaT.
// (A StringDType's NA is missing too; its reader sees that without an object.)
bool is_missing(PyObject* o);

bool is_pandas_series(PyObject* o);

// An object of a library whose containers go through quorin_np._interop rather than NumPy
// (polars' Series and expressions), which then makes the result in that library's own way.
bool is_foreign(PyObject* o);

}  // namespace quorin::np
