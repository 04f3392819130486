#include "np/text_arguments.hpp"

#include <cstring>

namespace quorin::np {
namespace {

// A new object array holding `items`, in C order.
PyArrayObject* object_array(int nd, npy_intp* shape, PyObject* const* items) {
    auto* a = reinterpret_cast<PyArrayObject*>(PyArray_SimpleNew(nd, shape, NPY_OBJECT));
    if (a == nullptr) return nullptr;
    auto** slot = static_cast<PyObject**>(PyArray_DATA(a));
    npy_intp n = PyArray_SIZE(a);
    for (npy_intp k = 0; k < n; ++k) {
        PyObject* old = slot[k];
        slot[k] = Py_NewRef(items[k]);
        Py_XDECREF(old);
    }
    return a;
}

// A one-dimensional object array over the item pointers of a list or tuple, which it neither
// owns nor releases: no pass over the items to hold them. The sequence is its base, kept alive;
// a list may still change while the lock is released between chunks, which `unchanged` checks.
PyArrayObject* over_items(PyObject* seq) {
    npy_intp n = Py_SIZE(seq);
    PyObject** items = PyList_Check(seq) ? reinterpret_cast<PyListObject*>(seq)->ob_item
                                         : reinterpret_cast<PyTupleObject*>(seq)->ob_item;
    PyObject* a = PyArray_NewFromDescr(&PyArray_Type, PyArray_DescrFromType(NPY_OBJECT), 1, &n,
                                       nullptr, items, NPY_ARRAY_C_CONTIGUOUS | NPY_ARRAY_ALIGNED,
                                       nullptr);
    if (a == nullptr) return nullptr;
    if (PyArray_SetBaseObject(reinterpret_cast<PyArrayObject*>(a), Py_NewRef(seq)) < 0) {
        Py_DECREF(a);
        return nullptr;
    }
    return reinterpret_cast<PyArrayObject*>(a);
}

}  // namespace

bool import_argument_api() { return PyArray_ImportNumPyAPI() >= 0; }

bool is_pandas_series(PyObject* o) {
    owned module(PyType_GetModuleName(Py_TYPE(o)));
    owned name(module ? PyType_GetName(Py_TYPE(o)) : nullptr);
    const char* m = name ? PyUnicode_AsUTF8(module.p) : nullptr;
    if (m == nullptr) {
        PyErr_Clear();
        return false;
    }
    return PyUnicode_CompareWithASCIIString(name.p, "Series") == 0 &&
           std::strncmp(m, "pandas", 6) == 0 && (m[6] == '\0' || m[6] == '.');
}

bool unchanged(PyArrayObject* column, const char* function) {
    PyObject* base = PyArray_BASE(column);
    if (base == nullptr || !PyList_Check(base) ||
        (PyList_GET_SIZE(base) == PyArray_DIM(column, 0) &&
         static_cast<void*>(reinterpret_cast<PyListObject*>(base)->ob_item) == PyArray_DATA(column)))
        return true;
    PyErr_Format(PyExc_RuntimeError, "quorin_np.%s: a list argument changed size during the call",
                 function);
    return false;
}

PyArrayObject* as_column(PyObject* o) {
    if ((PyList_CheckExact(o) || PyTuple_CheckExact(o)) && Py_SIZE(o) > 0) return over_items(o);
    if (PyArray_Check(o)) {
        auto* a = reinterpret_cast<PyArrayObject*>(o);
        int type = PyArray_DESCR(a)->type_num;
        if (type == NPY_OBJECT || type == NPY_VSTRING)
            return reinterpret_cast<PyArrayObject*>(Py_NewRef(o));
        PyObject* cast = PyArray_CastToType(a, PyArray_DescrFromType(NPY_OBJECT), 0);
        return reinterpret_cast<PyArrayObject*>(cast);
    }
    bool single = PyUnicode_Check(o) || PyBytes_Check(o) || PyByteArray_Check(o) ||
                  PyArray_IsScalar(o, Generic);
    if (!single && !PyList_Check(o) && !PyTuple_Check(o)) {
        if (PyObject_HasAttrWithError(o, owned(PyUnicode_FromString("__array__")).p) == 1) {
            owned a(PyArray_FromAny(o, nullptr, 0, 0, 0, nullptr));
            return a ? as_column(a.p) : nullptr;
        }
        if (PyErr_Occurred()) return nullptr;
        owned it(PyObject_GetIter(o));
        if (!it) {
            if (!PyErr_ExceptionMatches(PyExc_TypeError)) return nullptr;
            PyErr_Clear();
            single = true;
        }
    }
    if (single) return object_array(0, nullptr, &o);
    owned seq(PySequence_Fast(o, "expected a collection of str"));
    if (!seq) return nullptr;
    npy_intp n = PySequence_Fast_GET_SIZE(seq.p);
    return n > 0 ? over_items(seq.p) : object_array(1, &n, nullptr);
}


PyObject* like_series(PyObject* result, PyObject* series) {
    owned out(result);
    owned index(PyObject_GetAttrString(series, "index"));
    owned name(index ? PyObject_GetAttrString(series, "name") : nullptr);
    owned args(name ? PyTuple_Pack(1, out.p) : nullptr);
    owned kwargs(args ? Py_BuildValue("{sOsOsO}", "index", index.p, "name", name.p, "copy",
                                      Py_False)
                      : nullptr);
    if (!kwargs) return nullptr;
    return PyObject_Call(reinterpret_cast<PyObject*>(Py_TYPE(series)), args.p, kwargs.p);
}

}  // namespace quorin::np
