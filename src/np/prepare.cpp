#include "np/prepare.hpp"

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>

#include <algorithm>

namespace quorin::np {

using frame::owned;

int import_prepare_api() { return PyArray_ImportNumPyAPI(); }

namespace {

bool is_masked_array(PyObject* o) {
    static PyObject* type = nullptr;  // numpy.ma's MaskedArray, kept for the process
    if (type == nullptr) {
        owned name(PyUnicode_FromString("numpy.ma.core"));
        owned core(name ? PyImport_GetModule(name.p) : nullptr);
        if (!core) {  // not imported: then no masked array exists
            PyErr_Clear();
            return false;
        }
        type = PyObject_GetAttrString(core.p, "MaskedArray");
        if (type == nullptr || !PyType_Check(type)) {
            PyErr_Clear();
            Py_CLEAR(type);
            return false;
        }
    }
    return PyObject_TypeCheck(o, reinterpret_cast<PyTypeObject*>(type));
}

bool fits_int64(PyObject* integer) {
    int overflow = 0;
    PyLong_AsLongLongAndOverflow(integer, &overflow);
    return overflow == 0;
}

// An argument whose type takes ufunc calls over (a pandas Series, a Dask array): NumPy hands it
// the call, which comes back here with NumPy's arrays, prepared then if need be.
bool overrides_ufuncs(PyObject* o) {
    if (PyArray_CheckExact(o) || PyFloat_CheckExact(o) || PyLong_CheckExact(o) || o == Py_None)
        return false;
    static PyObject* ndarray_own = nullptr;  // ndarray.__array_ufunc__, kept for the process
    if (ndarray_own == nullptr) {
        ndarray_own = PyObject_GetAttrString(reinterpret_cast<PyObject*>(&PyArray_Type),
                                             "__array_ufunc__");
        if (ndarray_own == nullptr) return PyErr_Clear(), false;
    }
    owned own(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(o)), "__array_ufunc__"));
    if (!own) return PyErr_Clear(), false;
    return own.p != ndarray_own;
}

bool any_override(PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    for (Py_ssize_t i = 0; i < nargs; ++i)
        if (overrides_ufuncs(args[i])) return true;
    Py_ssize_t nkw = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < nkw; ++k) {
        PyObject* value = args[nargs + k];
        if (!is_name(PyTuple_GET_ITEM(kwnames, k), "out")) continue;
        if (!PyTuple_Check(value)) {
            if (overrides_ufuncs(value)) return true;
            continue;
        }
        for (Py_ssize_t o = 0; o < PyTuple_GET_SIZE(value); ++o)
            if (overrides_ufuncs(PyTuple_GET_ITEM(value, o))) return true;
    }
    return false;
}

// A masked array anywhere among the inputs; for a count, an int beyond int64, a list or tuple,
// or an array of objects.
bool prepared_by_kind(const array::Form& f, PyObject* const* args, Py_ssize_t nargs) {
    for (Py_ssize_t i = 0; i < std::min<Py_ssize_t>(nargs, f.nin); ++i) {
        PyObject* a = args[i];
        if (PyFloat_CheckExact(a)) continue;
        bool count = f.inputs[i] != array::Operand::real;
        if (PyArray_Check(a)) {
            auto* array = reinterpret_cast<PyArrayObject*>(a);
            if (count && PyArray_TYPE(array) == NPY_OBJECT) return true;
            if (!PyArray_CheckExact(a) && is_masked_array(a)) return true;
        } else if (count) {
            if (PyLong_Check(a) ? !fits_int64(a) : PyList_Check(a) || PyTuple_Check(a)) return true;
        }
    }
    return false;
}

}  // namespace

bool needs_preparing(const array::Form& f, PyObject* const* args, Py_ssize_t nargs,
                     PyObject* kwnames) {
    return prepared_by_kind(f, args, nargs) && !any_override(args, nargs, kwnames);
}

PyObject* prepared_call(PyObject* ufunc, PyObject* const* args, Py_ssize_t nargs,
                        PyObject* kwnames) {
    static PyObject* exact_call = nullptr;  // quorin_np._interop.exact_call, kept for the process
    if (exact_call == nullptr) {
        owned interop(PyImport_ImportModule("quorin_np._interop"));
        exact_call = interop ? PyObject_GetAttrString(interop.p, "exact_call") : nullptr;
        if (exact_call == nullptr) return nullptr;
    }
    owned positional(PyTuple_New(nargs));
    owned keywords(PyDict_New());
    if (!positional || !keywords) return nullptr;
    for (Py_ssize_t i = 0; i < nargs; ++i) PyTuple_SET_ITEM(positional.p, i, Py_NewRef(args[i]));
    Py_ssize_t nkw = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < nkw; ++k)
        if (PyDict_SetItem(keywords.p, PyTuple_GET_ITEM(kwnames, k), args[nargs + k]) < 0)
            return nullptr;
    return PyObject_CallFunctionObjArgs(exact_call, ufunc, positional.p, keywords.p, nullptr);
}

}  // namespace quorin::np
