#include "np/entry.hpp"

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>
#include <numpy/ufuncobject.h>

namespace quorin::np {

namespace {
constexpr const char kCapsule[] = "quorin_np.entry";
}

// Every call reads the entry: from the capsule's context, which costs no comparison of names
// (only quorin_np's capsules have one).
const Entry* entry_of(PyObject* ufunc) {
    PyObject* capsule = ufunc ? reinterpret_cast<PyUFuncObject*>(ufunc)->obj : nullptr;
    auto* e = capsule && PyCapsule_CheckExact(capsule)
                  ? static_cast<const Entry*>(PyCapsule_GetContext(capsule))
                  : nullptr;
    if (e == nullptr && !PyErr_Occurred())
        PyErr_SetString(PyExc_SystemError, "quorin_np: a loop was called without its ufunc");
    return e;
}

const Entry* entry_of_object(PyObject* o) {
    if (PyUFunc_ImportUFuncAPI() < 0) return nullptr;
    if (!PyObject_TypeCheck(o, &PyUFunc_Type)) {
        PyErr_Format(PyExc_TypeError, "expected one of quorin_np's ufuncs, not %.200s",
                     Py_TYPE(o)->tp_name);
        return nullptr;
    }
    PyObject* capsule = reinterpret_cast<PyUFuncObject*>(o)->obj;
    if (capsule == nullptr || !PyCapsule_IsValid(capsule, kCapsule)) {
        PyErr_SetString(PyExc_TypeError, "expected one of quorin_np's ufuncs");
        return nullptr;
    }
    return entry_of(o);
}

PyObject* entry_capsule(Entry& e) {
    PyObject* capsule = PyCapsule_New(&e, kCapsule, nullptr);
    if (capsule != nullptr && PyCapsule_SetContext(capsule, &e) < 0) Py_CLEAR(capsule);
    return capsule;
}

}  // namespace quorin::np
