// Counts the way the scalar function reads them, for what NumPy cannot take as it does: ints
// beyond int64 and arrays of objects. quorin_np._interop uses these to prepare such a call.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace quorin::np {

// _core._count_inputs(ufunc): ((position, largest count), ...) for the ufunc's count inputs.
PyObject* count_inputs(PyObject* self, PyObject* ufunc);

// _core._count_values(ufunc, position, objects): (values, refused), two C-ordered arrays of the
// shape of the object array `objects`: each element read as the scalar function reads count
// argument `position` (uint64, 0 where refused) and whether that refused it. An exception that
// is no refusal of the conversion (one raised by an __index__, say) ends the call.
PyObject* count_values(PyObject* self, PyObject* const* args, Py_ssize_t nargs);

// _core._count_error(ufunc, position, value): the exception the scalar function raises for
// `value` as count argument `position`, or None when it takes it.
PyObject* count_error(PyObject* self, PyObject* const* args, Py_ssize_t nargs);

}  // namespace quorin::np
