// The loop NumPy calls for quorin_np's ufuncs: the row's own kernel, run block by block so
// that a long call stops for Ctrl-C, with the refusals of the call kept for the call.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>
#include <numpy/ufuncobject.h>
#include <numpy/dtype_api.h>

#include "frame.hpp"

namespace quorin::np {

int get_loop(PyArrayMethod_Context* context, int aligned, int move_references,
             const npy_intp* strides, PyArrayMethod_StridedLoop** out_loop,
             NpyAuxData** out_data, NPY_ARRAYMETHOD_FLAGS* flags);

int strided_loop(PyArrayMethod_Context* context, char* const* data, const npy_intp* dimensions,
                 const npy_intp* strides, NpyAuxData* aux);

// The refusal of a kernel as the exception the scalar function raises (no note).
PyObject* refusal_exception(array::Refusal kind, const QuorinError& why);

}  // namespace quorin::np
