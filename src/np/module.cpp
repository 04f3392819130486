// quorin_np._core: one NumPy ufunc per row of the registration table that has an array form.
// The loops are the rows' own kernels; this file adds what NumPy needs around them: dtype
// promotion (reals read as float64, counts as int64 or uint64), a per-call record of refused
// elements, and the refusal mode taken from a context variable when the call starts.
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
#include "np/catalogue.hpp"
#include "np/mode.hpp"
#include "np/reference.hpp"
#include "np/texts.hpp"
#include "table.hpp"

namespace quorin::np {

PyObject* mode_var = nullptr;  // kept for the process

bool current_mode(Mode& mode) {
    PyObject* value = nullptr;
    if (PyContextVar_Get(mode_var, nullptr, &value) < 0) return false;
    mode = Mode::raise;
    if (value != nullptr) {
        if (PyUnicode_CompareWithASCIIString(value, "nan") == 0) mode = Mode::nan;
        else if (PyUnicode_CompareWithASCIIString(value, "warn") == 0) mode = Mode::warn;
        Py_DECREF(value);
    }
    return true;
}

namespace {

static_assert(std::is_same_v<npy_intp, std::ptrdiff_t>,
              "The array kernels take strides as std::ptrdiff_t, which must be npy_intp.");

using array::Form;
using array::Operand;

// ---- which row a ufunc runs -----------------------------------------------------------------

struct Entry {
    const Row* row;
    const Form* form;
    std::string name;  // the ufunc's name (a function with optional parameters has two)
    std::string doc;
};

// The ufunc's own `obj` slot (owned and released by the ufunc) holds a capsule of its entry.
const Entry* entry_of(PyObject* ufunc) {
    PyObject* capsule = ufunc ? reinterpret_cast<PyUFuncObject*>(ufunc)->obj : nullptr;
    auto* e = capsule ? static_cast<const Entry*>(PyCapsule_GetPointer(capsule, "quorin_np.entry"))
                      : nullptr;
    if (e == nullptr && !PyErr_Occurred())
        PyErr_SetString(PyExc_SystemError, "quorin_np: a loop was called without its ufunc");
    return e;
}

// ---- one call: the kernel, the mode and what was refused ------------------------------------

struct CallData {
    NpyAuxData base;
    const Entry* entry;
    array::Kernel kernel;
    Mode mode;
    array::Refusals refusals;
};

void raise_refusal(const CallData& d) {
    const array::Refusals& r = d.refusals;
    std::string_view m = r.first->message();
    PyObject* type = r.first_kind == array::Refusal::overflow ? PyExc_OverflowError : PyExc_ValueError;
    PyObject* msg = PyUnicode_FromStringAndSize(m.data(), static_cast<Py_ssize_t>(m.size()));
    if (msg == nullptr) return;
    PyObject* exc = PyObject_CallOneArg(type, msg);
    Py_DECREF(msg);
    if (exc == nullptr) return;
    PyObject* note = PyUnicode_FromFormat("quorin_np.%s: refused the element at flat index %lld",
                                          d.entry->name.c_str(), static_cast<long long>(r.first_at));
    PyObject* added = note ? PyObject_CallMethod(exc, "add_note", "O", note) : nullptr;
    Py_XDECREF(note);
    if (added == nullptr) {
        Py_DECREF(exc);
        return;
    }
    Py_DECREF(added);
    PyErr_SetRaisedException(exc);
}

// Called once per ufunc call, with the interpreter lock held, after the last chunk: the one
// place where a call's refusals are complete, so the "warn" mode reports them here.
void free_call(NpyAuxData* aux) {
    auto* d = reinterpret_cast<CallData*>(aux);
    const array::Refusals& r = d->refusals;
    if (d->mode == Mode::warn && r.count > 0 && !PyErr_Occurred()) {
        std::string_view m = r.first->message();
        PyErr_WarnFormat(PyExc_RuntimeWarning, 1,
                         "quorin_np.%s: %lld element(s) refused and set to NaN; the first, at flat "
                         "index %lld: %.*s",
                         d->entry->name.c_str(), static_cast<long long>(r.count),
                         static_cast<long long>(r.first_at), static_cast<int>(m.size()), m.data());
    }
    delete d;
}

NpyAuxData* clone_call(NpyAuxData* aux) {
    auto* copy = new (std::nothrow) CallData(*reinterpret_cast<CallData*>(aux));
    return copy ? &copy->base : nullptr;
}

// The loop NumPy calls, usually without the interpreter lock: it takes the lock only to raise.
int strided_loop(PyArrayMethod_Context*, char* const* data, const npy_intp* dimensions,
                 const npy_intp* strides, NpyAuxData* aux) {
    auto* d = reinterpret_cast<CallData*>(aux);
    try {
        if (d->kernel(data, dimensions, strides, d->refusals)) return 0;
    } catch (...) {
        PyGILState_STATE g = PyGILState_Ensure();
        frame::raise_escaped_exception();
        PyGILState_Release(g);
        return -1;
    }
    PyGILState_STATE g = PyGILState_Ensure();
    raise_refusal(*d);
    PyGILState_Release(g);
    return -1;
}

int get_loop(PyArrayMethod_Context* context, int, int, const npy_intp*,
             PyArrayMethod_StridedLoop** out_loop, NpyAuxData** out_data,
             NPY_ARRAYMETHOD_FLAGS* flags) {
    const Entry* e = entry_of(context->caller);
    if (e == nullptr) return -1;
    // The kernel that reads each count input as the integer type NumPy resolved for it.
    unsigned mask = 0;
    for (int i = 0, k = 0; i < e->form->nin; ++i)
        if (e->form->inputs[i] != Operand::real)
            mask |= static_cast<unsigned>(context->descriptors[i]->type_num == NPY_UINT64) << k++;
    Mode mode;
    if (!current_mode(mode)) return -1;
    auto* d = new (std::nothrow) CallData{};
    if (d == nullptr) return PyErr_NoMemory(), -1;
    d->base.free = free_call;
    d->base.clone = clone_call;
    d->entry = e;
    d->kernel = e->form->kernels[mask];
    d->mode = mode;
    d->refusals.stop_at_first = mode == Mode::raise;
    *out_loop = strided_loop;
    *out_data = &d->base;
    // Overflow to inf and invalid operations to NaN are results here, not floating-point errors.
    *flags = NPY_METH_NO_FLOATINGPOINT_ERRORS;
    return 0;
}

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
    PyObject* capsule = PyCapsule_New(&e, "quorin_np.entry", nullptr);
    if (capsule == nullptr) {
        Py_DECREF(ufunc);
        return -1;
    }
    reinterpret_cast<PyUFuncObject*>(ufunc)->obj = capsule;  // released with the ufunc
    if (add_loops(ufunc, e) < 0) {
        Py_DECREF(ufunc);
        return -1;
    }
    return PyModule_Add(module, e.name.c_str(), ufunc);  // takes the reference, even on failure
}

std::vector<Entry>* entries = nullptr;  // kept for the process: the ufuncs point into it

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT, "quorin_np._core",
    "The ufuncs of quorin_np, built from quorin's own contract cores.", -1,
    nullptr, nullptr, nullptr, nullptr, nullptr,
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
