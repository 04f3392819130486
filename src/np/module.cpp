// quorin_np._core: one NumPy ufunc per row of the registration table that has an array form.
// The loops are the rows' own kernels (np/loop.cpp), called through quorin_np's own call
// (np/calls.cpp); this file adds the dtype promotion (reals read as float64, counts as int64 or
// uint64) and registers the ufuncs, the text functions and the refusal mode's context variable.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>
#include <numpy/ufuncobject.h>
#include <numpy/dtype_api.h>

#include <cstddef>
#include <new>
#include <string>
#include <type_traits>

#include "frame.hpp"
#include "np/calls.hpp"
#include "np/catalogue.hpp"
#include "np/counts.hpp"
#include "np/entry.hpp"
#include "np/loop.hpp"
#include "np/mode.hpp"
#include "np/reference.hpp"
#include "np/texts.hpp"
#include "table.hpp"

namespace quorin::np {
namespace {

using array::Form;
using array::Operand;

// ---- promotion: which loop an input's dtype takes ---------------------------------------------

bool is_integer(PyArray_DTypeMeta* t) {
    return t == &PyArray_PyLongDType || PyTypeNum_ISBOOL(t->type_num) ||
           PyTypeNum_ISINTEGER(t->type_num);
}

// Reals take float64 (NumPy then casts any real, integer or bool input, refusing others under
// its casting rule); counts take int64, or uint64 for unsigned input so that no large count
// wraps; a float or anything else given for a count is refused here, never truncated.
int promote(PyObject* ufunc, PyArray_DTypeMeta* const op_dtypes[],
            PyArray_DTypeMeta* const signature[], PyArray_DTypeMeta* new_op_dtypes[]) {
    const Entry* e = entry_of(ufunc);
    if (e == nullptr) return -1;
    const Form& f = *e->form;
    for (int i = 0; i < f.nin + f.nout; ++i) {
        PyArray_DTypeMeta* chosen = signature[i];
        if (chosen == nullptr) {
            if (i >= f.nin || f.inputs[i] == Operand::real) {
                chosen = &PyArray_DoubleDType;
            } else if (is_integer(op_dtypes[i])) {
                chosen = PyTypeNum_ISUNSIGNED(op_dtypes[i]->type_num) ? &PyArray_UInt64DType
                                                                     : &PyArray_Int64DType;
            } else {
                for (int k = 0; k < i; ++k) Py_CLEAR(new_op_dtypes[k]);
                PyErr_Format(PyExc_TypeError,
                             "quorin_np.%s: argument '%s' is a count and takes integers, not %s",
                             e->name.c_str(), e->row->signature->params[i],
                             reinterpret_cast<PyTypeObject*>(op_dtypes[i])->tp_name);
                return -1;
            }
        }
        new_op_dtypes[i] = reinterpret_cast<PyArray_DTypeMeta*>(Py_NewRef(chosen));
    }
    return 0;
}

// ---- building the ufuncs --------------------------------------------------------------------

int add_loops(PyObject* ufunc, const Entry& e) {
    const Form& f = *e.form;
    PyArray_DTypeMeta* dtypes[NPY_MAXARGS];
    PyType_Slot slots[] = {{NPY_METH_get_loop, reinterpret_cast<void*>(get_loop)},
                           {NPY_METH_strided_loop, reinterpret_cast<void*>(strided_loop)},
                           {0, nullptr}};
    for (unsigned mask = 0; mask < (1u << f.ncounts); ++mask) {
        for (int i = 0, k = 0; i < f.nin; ++i)
            dtypes[i] = f.inputs[i] == Operand::real ? &PyArray_DoubleDType
                        : ((mask >> k++) & 1u)       ? &PyArray_UInt64DType
                                                     : &PyArray_Int64DType;
        for (int o = 0; o < f.nout; ++o) dtypes[f.nin + o] = &PyArray_DoubleDType;
        PyArrayMethod_Spec method{e.name.c_str(), f.nin, f.nout, NPY_NO_CASTING,
                                NPY_METH_NO_FLOATINGPOINT_ERRORS, dtypes, slots};
        if (PyUFunc_AddLoopFromSpec(ufunc, &method) < 0) return -1;
    }
    PyObject* any = PyTuple_New(f.nin + f.nout);
    if (any == nullptr) return -1;
    for (int i = 0; i < f.nin + f.nout; ++i) PyTuple_SET_ITEM(any, i, Py_NewRef(Py_None));
    PyObject* promoter = PyCapsule_New(reinterpret_cast<void*>(promote), "numpy._ufunc_promoter", nullptr);
    int rc = promoter ? PyUFunc_AddPromoter(ufunc, any, promoter) : -1;
    Py_XDECREF(promoter);
    Py_DECREF(any);
    return rc;
}

// The reference text of the function, after a line on defaults; a "_full" ufunc shares the
// text of its function.
std::string doc_of(const Entry& e) {
    std::string head;
    if (e.form->full != nullptr)
        head = "Takes the first " + std::to_string(e.form->nin) +
               " parameters; the others keep their defaults. quorin_np." + e.name +
               "_full takes them all.\n\n";
    else if (e.name != e.row->name)
        head = "Takes every parameter of quorin." + std::string(e.row->name) +
               ", the optional ones included.\n\n";
    if (const char* text = reference_text(e.row->name)) return head + text;
    return head + "quorin." + e.row->name + " over arrays.";
}

int add_ufunc(PyObject* module, Entry& e) {
    if (e.doc.empty()) e.doc = doc_of(e);
    // A core over lists has core dimensions: a generalised ufunc.
    PyObject* ufunc = PyUFunc_FromFuncAndDataAndSignature(
        nullptr, nullptr, nullptr, 0, e.form->nin, e.form->nout, PyUFunc_None, e.name.c_str(),
        e.doc.c_str(), 0, e.form->layout);
    if (ufunc == nullptr) return -1;
    PyObject* capsule = entry_capsule(e);
    if (capsule == nullptr) {
        Py_DECREF(ufunc);
        return -1;
    }
    reinterpret_cast<PyUFuncObject*>(ufunc)->obj = capsule;  // released with the ufunc
    if (add_loops(ufunc, e) < 0) {
        Py_DECREF(ufunc);
        return -1;
    }
    if (take_calls(ufunc) < 0) {
        Py_DECREF(ufunc);
        return -1;
    }
    return PyModule_Add(module, e.name.c_str(), ufunc);  // takes the reference, even on failure
}

std::vector<Entry>* entries = nullptr;  // kept for the process: the ufuncs point into it

// _lanes() -> (level in use, widest level this processor has); _lanes(level) sets the level of
// the vector loops (0: none, 1: two lanes, 2: four) and returns the one it replaces. For tests
// that compare every level with the scalar cores.
PyObject* lanes(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
    const int widest = array::widest_lanes();
    if (nargs == 0) return Py_BuildValue("(ii)", array::lanes_level.load(), widest);
    long level = nargs == 1 ? PyLong_AsLong(args[0]) : -1;
    if (level == -1 && PyErr_Occurred()) return nullptr;
    if (level < 0 || level > widest) {
        PyErr_Format(PyExc_ValueError, "the lanes level must be from 0 to %d", widest);
        return nullptr;
    }
    return PyLong_FromLong(array::lanes_level.exchange(static_cast<int>(level)));
}

// Private functions for quorin_np._interop, which prepares the calls NumPy cannot take as the
// scalar functions do, and for the tests.
PyMethodDef private_functions[] = {
    {"_call_with", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(call_with)),
     METH_FASTCALL, "ufunc(*args, **kwargs) with refusals found beforehand."},
    {"_count_inputs", count_inputs, METH_O, "The count inputs of a ufunc and their largest values."},
    {"_count_values", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(count_values)),
     METH_FASTCALL, "An array of objects read as one count argument of the scalar function."},
    {"_count_error", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(count_error)),
     METH_FASTCALL, "The exception of the scalar function for one count argument, or None."},
    {"_lanes", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(lanes)), METH_FASTCALL,
     "The level of the vector loops in use and the widest; or sets it, returning the old one."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT, "quorin_np._core",
    "The ufuncs of quorin_np, built from quorin's own contract cores.", -1,
    private_functions, nullptr, nullptr, nullptr, nullptr,
};

PyObject* init() {
    if (PyArray_ImportNumPyAPI() < 0 || PyUFunc_ImportUFuncAPI() < 0) return nullptr;
    if (entries == nullptr) {
        entries = new std::vector<Entry>;
        for_each_array_row([](const Row& row) {
            if (row.array == nullptr || row.array->texts) return;
            entries->push_back({&row, row.array, row.name, {}});
            if (row.array->full)
                entries->push_back({&row, row.array->full, std::string(row.name) + "_full", {}});
        });
    }
    if (mode_var == nullptr) {
        mode_var = PyContextVar_New("quorin_np.refused", nullptr);
        if (mode_var == nullptr) return nullptr;
    }
    PyObject* module = PyModule_Create(&module_def);
    if (module == nullptr) return nullptr;
    if (PyModule_AddObjectRef(module, "refused", mode_var) < 0) {
        Py_DECREF(module);
        return nullptr;
    }
    for (Entry& e : *entries)
        if (add_ufunc(module, e) < 0) {
            Py_DECREF(module);
            return nullptr;
        }
    if (add_text_functions(module) < 0) {
        Py_DECREF(module);
        return nullptr;
    }
    if (add_catalogue(module) < 0) return Py_DECREF(module), nullptr;
    return module;
}

}  // namespace
}  // namespace quorin::np

extern "C" __attribute__((visibility("default"))) PyObject* PyInit__core() {
    try {
        return quorin::np::init();
    } catch (...) {
        return quorin::frame::raise_escaped_exception();
    }
}
