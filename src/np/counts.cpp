#include "np/counts.hpp"

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "np/entry.hpp"

namespace quorin::np {
namespace {

using frame::owned;

// The count input `position` of `ufunc`'s row, or nullptr with TypeError.
const Entry* count_entry(PyObject* ufunc, PyObject* position, int& index, bool& wide) {
    if (PyArray_ImportNumPyAPI() < 0) return nullptr;
    const Entry* e = entry_of_object(ufunc);
    if (e == nullptr) return nullptr;
    long i = PyLong_AsLong(position);
    if (i == -1 && PyErr_Occurred()) return nullptr;
    if (i < 0 || i >= e->form->nin || e->form->inputs[i] == array::Operand::real ||
        e->form->inputs[i] == array::Operand::text) {
        PyErr_Format(PyExc_TypeError, "quorin_np.%s: input %ld is not a count", e->name.c_str(), i);
        return nullptr;
    }
    index = static_cast<int>(i);
    wide = e->form->inputs[i] == array::Operand::count64;
    return e;
}

// Reads `o` as the scalar function reads the count; false with its exception pending.
bool read_count(PyObject* o, const Entry& e, int index, bool wide, std::uint64_t& value) {
    const Signature& s = *e.row->signature;
    if (wide) return frame::count64_slow(o, value, s, index);
    std::uint32_t narrow;
    if (!frame::count32_slow(o, narrow, s, index)) return false;
    value = narrow;
    return true;
}

// The scalar conversion's own refusals; anything else ends the call.
bool is_refusal(PyObject* exc) {
    return PyErr_GivenExceptionMatches(exc, PyExc_TypeError) ||
           PyErr_GivenExceptionMatches(exc, PyExc_OverflowError);
}

}  // namespace

PyObject* count_inputs(PyObject*, PyObject* ufunc) {
    const Entry* e = entry_of_object(ufunc);
    if (e == nullptr) return nullptr;
    owned list(PyList_New(0));
    if (!list) return nullptr;
    for (int i = 0; i < e->form->nin; ++i) {
        array::Operand kind = e->form->inputs[i];
        if (kind != array::Operand::count32 && kind != array::Operand::count64) continue;
        std::uint64_t largest = kind == array::Operand::count64
                                    ? std::numeric_limits<std::uint64_t>::max()
                                    : std::numeric_limits<std::uint32_t>::max();
        owned pair(Py_BuildValue("(iK)", i, static_cast<unsigned long long>(largest)));
        if (!pair || PyList_Append(list.p, pair.p) < 0) return nullptr;
    }
    return PyList_AsTuple(list.p);
}

PyObject* count_values(PyObject*, PyObject* const* args, Py_ssize_t nargs) try {
    if (nargs != 3) {
        PyErr_SetString(PyExc_TypeError, "_count_values(ufunc, position, objects)");
        return nullptr;
    }
    int index;
    bool wide;
    const Entry* e = count_entry(args[0], args[1], index, wide);
    if (e == nullptr) return nullptr;
    // A C-ordered array of the objects, holding its own references while they convert.
    owned objects(
        PyArray_FROM_OTF(args[2], NPY_OBJECT, NPY_ARRAY_C_CONTIGUOUS | NPY_ARRAY_ENSURECOPY));
    if (!objects) return nullptr;
    auto* a = reinterpret_cast<PyArrayObject*>(objects.p);
    owned values(PyArray_SimpleNew(PyArray_NDIM(a), PyArray_DIMS(a), NPY_UINT64));
    owned refused(PyArray_ZEROS(PyArray_NDIM(a), PyArray_DIMS(a), NPY_BOOL, 0));
    if (!values || !refused) return nullptr;
    auto* items = static_cast<PyObject**>(PyArray_DATA(a));
    auto* v = static_cast<std::uint64_t*>(PyArray_DATA(reinterpret_cast<PyArrayObject*>(values.p)));
    auto* r = static_cast<npy_bool*>(PyArray_DATA(reinterpret_cast<PyArrayObject*>(refused.p)));
    for (npy_intp i = 0, n = PyArray_SIZE(a); i < n; ++i) {
        PyObject* o = items[i] != nullptr ? items[i] : Py_None;
        v[i] = 0;
        if (read_count(o, *e, index, wide, v[i])) continue;
        owned exc(PyErr_GetRaisedException());
        if (!exc || !is_refusal(exc.p)) {
            PyErr_SetRaisedException(exc.release());
            return nullptr;
        }
        v[i] = 0;
        r[i] = 1;
    }
    return PyTuple_Pack(2, values.p, refused.p);
} catch (...) {
    return frame::raise_escaped_exception();
}

PyObject* count_error(PyObject*, PyObject* const* args, Py_ssize_t nargs) try {
    if (nargs != 3) {
        PyErr_SetString(PyExc_TypeError, "_count_error(ufunc, position, value)");
        return nullptr;
    }
    int index;
    bool wide;
    const Entry* e = count_entry(args[0], args[1], index, wide);
    if (e == nullptr) return nullptr;
    std::uint64_t value;
    if (read_count(args[2], *e, index, wide, value)) Py_RETURN_NONE;
    owned exc(PyErr_GetRaisedException());
    if (!exc || !is_refusal(exc.p)) {
        PyErr_SetRaisedException(exc.release());
        return nullptr;
    }
    return exc.release();
} catch (...) {
    return frame::raise_escaped_exception();
}

}  // namespace quorin::np
