// How quorin_np's ufuncs are called. NumPy calls a ufunc through the vector call it keeps in
// the ufunc object; quorin_np puts its own there, which hands the call to NumPy's and then
// reports the refused elements as the scalar function would see them: the first refusal in C
// order of the broadcast result, with masked elements counted. Arguments NumPy cannot take as
// the scalar function does (masked arrays, counts beyond int64, objects for counts) go to
// quorin_np._interop first, which prepares them and comes back through call_with.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace quorin::np {

// Routes every call of `ufunc` (one of quorin_np's) through quorin_np's call.
int take_calls(PyObject* ufunc);

// _core._call_with(ufunc, args, kwargs, count, index, error, positions): the ufunc's call with
// `count` refusals found beforehand by the caller, the first at flat `index` with exception
// `error`, reported together with those of the loops. The caller has left those elements out
// (by where=, or by gathering the others, whose flat indices `positions` then gives, or None)
// and set their outputs to NaN.
PyObject* call_with(PyObject* self, PyObject* const* args, Py_ssize_t nargs);

}  // namespace quorin::np
