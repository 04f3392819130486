// The module: its definition, the entry point PyInit_quorin and the registration routine.
#include <atomic>
#include <cstdint>

#include "frame.hpp"
#include "table.hpp"

namespace quorin {
namespace {

constexpr const char* kModuleDoc =
    "quorin: 64 machine-verified computational biology contracts (Lean 4 \u2192 Vemo \u2192 Python).\n"
    "\n"
    "Contract modules\n"
    "----------------\n"
    "mRNA / Ribosome\n"
    "  mrna_halflife_concentration  \u2014 Quorin.MrnaHalfLife\n"
    "  mrna_halflife                \u2014 Quorin.MrnaHalfLife (t\u00bd)\n"
    "  ribosome_density             \u2014 Quorin.RibosomeDensity\n"
    "  translation_rate             \u2014 Quorin.TranslationRate\n"
    "\n"
    "Sequence analysis\n"
    "  gc_content                   \u2014 Quorin.GCContent\n"
    "  sequence_identity            \u2014 Quorin.SequenceIdentity\n"
    "  shannon_entropy              \u2014 Quorin.ShannonEntropy (binary)\n"
    "  shannon_entropy_dist         \u2014 Quorin.ShannonEntropy (distribution)\n"
    "\n"
    "Pharmacokinetics\n"
    "  first_order_pk_concentration \u2014 Quorin.FirstOrderPK\n"
    "  first_order_pk_halflife      \u2014 Quorin.FirstOrderPK (t\u00bd)\n"
    "  ic50_bound                   \u2014 Quorin.IC50Relationship (Cheng-Prusoff)\n"
    "  michaelis_menten             \u2014 Quorin.MichaelisMenten\n"
    "\n"
    "Longevity\n"
    "  biological_age_bound         \u2014 Quorin.BiologicalAge (ensemble)\n"
    "  telomere_length_bound        \u2014 Quorin.Telomere (Vedidori 2023)\n"
    "  gompertz_hazard              \u2014 Quorin.GompertzMortality\n"
    "\n"
    "Statistics / Structural\n"
    "  hardy_weinberg               \u2014 Quorin.HardyWeinberg (frequencies)\n"
    "  hardy_weinberg_test          \u2014 Quorin.HardyWeinberg (chi-squared)\n"
    "  protein_rmsd                 \u2014 Quorin.ProteinRMSD";

int register_functions(PyObject* module);

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "quorin",
    kModuleDoc,
    0,        // no per-module state
    nullptr,  // functions are added by register_functions, not through a method table
    nullptr, nullptr, nullptr, nullptr,
};

// The interpreter that first imported the module; -1 until then. A single-phase module cannot
// be shared between interpreters, so every other one is refused.
std::atomic<std::int64_t> owner{-1};
PyObject* cached_module = nullptr;  // one strong reference, kept for the life of the process

using frame::owned;

// Adds one function: builtin bound to the module, listed in __all__, set as an attribute.
int register_row(PyObject* module, PyObject* module_name, const Row& row) {
    Signature& sig = *row.signature;
    for (int i = 0; i < sig.nparams; ++i) {
        if (sig.interned[i] == nullptr) {
            sig.interned[i] = PyUnicode_InternFromString(sig.params[i]);  // kept for the process
            if (sig.interned[i] == nullptr) return -1;
        }
    }
    // The interpreter keeps a pointer to the method record for the life of the function.
    auto* method = new PyMethodDef{row.name, reinterpret_cast<PyCFunction>(
                                                 reinterpret_cast<void (*)()>(row.entry)),
                                   METH_FASTCALL | METH_KEYWORDS, row.doc};
    owned func(PyCMethod_New(method, module, module_name, nullptr));
    if (func.p == nullptr) return frame::fail_without_exception(), -1;

    owned name(PyObject_GetAttrString(func.p, "__name__"));
    if (name.p == nullptr) return -1;
    if (!PyUnicode_Check(name.p)) {
        PyErr_SetString(PyExc_TypeError, "__name__ of a registered function must be a str");
        return -1;
    }
    owned all(PyObject_GetAttrString(module, "__all__"));
    if (all.p == nullptr) {
        if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return -1;
        PyErr_Clear();
        all.p = PyList_New(0);
        if (all.p == nullptr || PyObject_SetAttrString(module, "__all__", all.p) < 0) return -1;
    }
    if (!PyList_Check(all.p)) {
        PyErr_SetString(PyExc_TypeError, "__all__ must be a list");
        return -1;
    }
    if (PyList_Append(all.p, name.p) < 0) {
        PyErr_Clear();
        frame::raise_internal("could not append __name__ to __all__");
        return -1;
    }
    return PyObject_SetAttr(module, name.p, func.p);
}

int register_functions(PyObject* module) {
    owned module_name(PyModule_GetNameObject(module));
    if (module_name.p == nullptr) return -1;
    for (const Rows* group : table)
        for (const Row& row : *group)
            if (register_row(module, module_name.p, row) < 0) return -1;
    return 0;
}

PyObject* init() {
    PyInterpreterState* interp = PyInterpreterState_Get();
    std::int64_t id = PyInterpreterState_GetID(interp);
    if (id == -1) return frame::fail_without_exception();

    std::int64_t expected = -1;
    if (!owner.compare_exchange_strong(expected, id) && expected != id) {
        PyErr_SetString(PyExc_ImportError,
                        "quorin does not support sub-interpreters: it is already loaded in "
                        "another interpreter of this process");
        return nullptr;
    }
    if (cached_module != nullptr) return Py_NewRef(cached_module);

    PyObject* module = PyModule_Create2(&module_def, 1013);
    if (module == nullptr) return frame::fail_without_exception();
    if (register_functions(module) < 0) {
        frame::fail_without_exception();
        Py_DECREF(module);
        return nullptr;
    }
    cached_module = Py_NewRef(module);
    return module;
}

}  // namespace
}  // namespace quorin

extern "C" __attribute__((visibility("default"))) PyObject* PyInit_quorin() {
    try {
        return quorin::init();
    } catch (...) {
        return quorin::frame::raise_escaped_exception();
    }
}
