// quorin_np.catalogue: what the rows say about each function quorin_np registers, as read-only
// records, for tools that learn the functions from the rows (the `quorin` command) rather than
// from a list of their own.
#include "np/catalogue.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "np/reference.hpp"
#include "table.hpp"

namespace quorin::np {
namespace {

using frame::owned;

PyStructSequence_Field kFields[] = {
    {"name", "the function's name in quorin_np"},
    {"params", "its parameter names, in order"},
    {"required", "how many leading parameters have no default"},
    {"defaults", "the values of the optional parameters, in order"},
    {"kinds", "per parameter: 'real', 'count', 'text' or 'list'"},
    {"kind", "'elementwise' (a ufunc), 'texts' (over collections of str) or 'lists' (a "
             "generalised ufunc)"},
    {"outputs", "how many results one call gives per element"},
    {"result", "'real' (float64, NaN when refused) or 'count' (int64, -1 when refused)"},
    {"full", "the name of the ufunc that takes the optional parameters too, or None"},
    {"layout", "the core dimensions of a generalised ufunc, as NumPy writes them, or None"},
    {"summary", "the first sentence of the reference text"},
    {nullptr, nullptr},
};
PyStructSequence_Desc kDesc = {"quorin_np.FunctionInfo",
                               "What the registration rows say about one function of quorin_np.",
                               kFields, 11};

PyTypeObject* info_type = nullptr;  // kept for the process

// The core dimensions of each input in a layout such as "(n,3),(n,3)->()": "()" for a scalar.
bool is_list_input(const char* layout, int input) {
    if (layout == nullptr) return false;
    std::string_view text(layout);
    text = text.substr(0, text.find("->"));
    int at = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '(') continue;
        if (at++ == input) return text[i + 1] != ')';
    }
    return false;
}

const char* kind_of(const array::Form& f, int input) {
    if (is_list_input(f.layout, input)) return "list";
    switch (f.inputs[input]) {
        case array::Operand::real: return "real";
        case array::Operand::text: return "text";
        default: return "count";
    }
}

// The paragraph after the signature line of the reference text, on one line.
std::string summary_of(const Row& row) {
    const char* found = reference_text(row.name);
    if (found == nullptr) return "quorin." + std::string(row.name) + " over arrays.";
    std::string_view text(found);
    std::size_t start = text.find("\n\n");
    if (start == std::string_view::npos) return std::string(text);
    text = text.substr(start + 2);
    text = text.substr(0, text.find("\n\n"));
    std::string out(text);
    for (char& c : out)
        if (c == '\n') c = ' ';
    return out;
}

PyObject* str_tuple(const char* const* names, int n) {
    owned t(PyTuple_New(n));
    if (!t) return nullptr;
    for (int i = 0; i < n; ++i) {
        PyObject* s = PyUnicode_FromString(names[i]);
        if (s == nullptr) return nullptr;
        PyTuple_SET_ITEM(t.p, i, s);
    }
    return t.release();
}

PyObject* record_of(const Row& row) {
    const Signature& s = *row.signature;
    const array::Form& f = row.array->full ? *row.array->full : *row.array;
    std::vector<const char*> kinds;
    const int nin = f.nin - f.per_call;  // per-call options are keywords, not parameters
    for (int i = 0; i < nin; ++i) kinds.push_back(kind_of(f, i));
    const char* kind = row.array->texts ? "texts" : row.array->layout ? "lists" : "elementwise";
    std::string full = std::string(row.name) + "_full";

    owned fields[11];
    fields[0].p = PyUnicode_FromString(row.name);
    fields[1].p = str_tuple(s.params, s.nparams);
    fields[2].p = PyLong_FromLong(s.nrequired);
    fields[3].p = PyTuple_New(s.nparams - s.nrequired);
    for (int i = 0; fields[3] && i < s.nparams - s.nrequired; ++i) {
        PyObject* d = PyFloat_FromDouble(s.defaults[i]);
        if (d == nullptr) return nullptr;
        PyTuple_SET_ITEM(fields[3].p, i, d);
    }
    fields[4].p = str_tuple(kinds.data(), nin);
    fields[5].p = PyUnicode_FromString(kind);
    fields[6].p = PyLong_FromLong(f.nout);
    fields[7].p = PyUnicode_FromString(f.count_result ? "count" : "real");
    fields[8].p = row.array->full ? PyUnicode_FromString(full.c_str()) : Py_NewRef(Py_None);
    fields[9].p = f.layout ? PyUnicode_FromString(f.layout) : Py_NewRef(Py_None);
    fields[10].p = PyUnicode_FromString(summary_of(row).c_str());
    for (owned& field : fields)
        if (!field) return nullptr;
    owned record(PyStructSequence_New(info_type));
    if (!record) return nullptr;
    for (int i = 0; i < 11; ++i) PyStructSequence_SET_ITEM(record.p, i, fields[i].release());
    return record.release();
}

}  // namespace

int add_catalogue(PyObject* module) {
    if (info_type == nullptr) {
        info_type = PyStructSequence_NewType(&kDesc);
        if (info_type == nullptr) return -1;
    }
    std::vector<const Row*> rows;
    for_each_array_row([&](const Row& row) {
        // One value per element; texts and pairs (structures) are for Python callers.
        if (row.array != nullptr && (row.array->yields == array::Yields::reals ||
                                     row.array->yields == array::Yields::count))
            rows.push_back(&row);
    });
    owned catalogue(PyTuple_New(static_cast<Py_ssize_t>(rows.size())));
    if (!catalogue) return -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PyObject* record = record_of(*rows[i]);
        if (record == nullptr) return -1;
        PyTuple_SET_ITEM(catalogue.p, static_cast<Py_ssize_t>(i), record);
    }
    if (PyModule_AddObjectRef(module, "FunctionInfo", reinterpret_cast<PyObject*>(info_type)) < 0)
        return -1;
    return PyModule_AddObjectRef(module, "catalogue", catalogue.p);
}

}  // namespace quorin::np
