#include "np/text_arguments.hpp"

#include <cmath>
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
// a list may still change while the lock is released between chunks, which `unchanged` checks,
// and the elements of a chunk are held while it is computed.
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

// The module name of o's type starts with `prefix` as a whole dotted component.
bool type_from(PyObject* o, const char* prefix) {
    owned module(PyType_GetModuleName(Py_TYPE(o)));
    const char* m = module ? PyUnicode_AsUTF8(module.p) : nullptr;
    if (m == nullptr) {
        PyErr_Clear();
        return false;
    }
    std::size_t n = std::strlen(prefix);
    return std::strncmp(m, prefix, n) == 0 && (m[n] == '\0' || m[n] == '.');
}

// 1 for a mapping (a dict, or registered as collections.abc.Mapping), 0 if not, -1 on error.
int is_mapping(PyObject* o) {
    if (PyDict_Check(o)) return 1;
    if (!PyMapping_Check(o) || PyList_Check(o) || PyTuple_Check(o) || PyArray_Check(o)) return 0;
    static PyObject* mapping = nullptr;  // kept for the process
    if (mapping == nullptr) {
        owned abc(PyImport_ImportModule("collections.abc"));
        mapping = abc ? PyObject_GetAttrString(abc.p, "Mapping") : nullptr;
        if (mapping == nullptr) return -1;
    }
    return PyObject_IsInstance(o, mapping);
}

}  // namespace

bool import_argument_api() { return PyArray_ImportNumPyAPI() >= 0; }

bool is_pandas_series(PyObject* o) {
    const char* name = Py_TYPE(o)->tp_name;
    const char* dot = std::strrchr(name, '.');
    return std::strcmp(dot ? dot + 1 : name, "Series") == 0 && type_from(o, "pandas");
}

bool is_foreign(PyObject* o) {
    if (PyUnicode_CheckExact(o) || PyList_CheckExact(o) || PyTuple_CheckExact(o) || PyArray_Check(o))
        return false;
    return type_from(o, "polars");
}

bool is_missing(PyObject* o) {
    if (o == Py_None) return true;
    if (PyFloat_Check(o)) return std::isnan(PyFloat_AS_DOUBLE(o));
    if (PyUnicode_Check(o) || PyLong_Check(o)) return false;
    if (PyArray_IsScalar(o, Floating)) {
        owned value(PyNumber_Float(o));
        if (!value) return PyErr_Clear(), false;
        return std::isnan(PyFloat_AS_DOUBLE(value.p));
    }
    // pandas' NA and NaT, known by their types' names without importing pandas.
    const char* name = Py_TYPE(o)->tp_name;
    const char* dot = std::strrchr(name, '.');
    name = dot ? dot + 1 : name;
    return (std::strcmp(name, "NAType") == 0 || std::strcmp(name, "NaTType") == 0) &&
           type_from(o, "pandas");
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

PyArrayObject* as_column(PyObject* o, const char* function, const char* parameter) {
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
        // Iterating a dict gives its keys, which are seldom what was meant.
        int mapping = is_mapping(o);
        if (mapping < 0) return nullptr;
        if (mapping == 1) {
            PyErr_Format(PyExc_TypeError,
                         "quorin_np.%s: argument '%s' is a mapping (%s), not a collection of str; "
                         "pass its values (.values()) or a pandas Series",
                         function, parameter, Py_TYPE(o)->tp_name);
            return nullptr;
        }
        int has_array = PyObject_HasAttrStringWithError(o, "__array__");
        if (has_array < 0) return nullptr;
        if (has_array == 1) {
            owned a(PyArray_FromAny(o, nullptr, 0, 0, 0, nullptr));
            return a ? as_column(a.p, function, parameter) : nullptr;
        }
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

}  // namespace quorin::np
