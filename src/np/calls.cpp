#include "np/calls.hpp"

#define NPY_NO_DEPRECATED_API NPY_2_0_API_VERSION
#define NPY_TARGET_VERSION NPY_2_0_API_VERSION
#include <numpy/ndarrayobject.h>
#include <numpy/ufuncobject.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "np/entry.hpp"
#include "np/loop.hpp"
#include "np/mode.hpp"
#include "np/prepare.hpp"
#include "np/record.hpp"

namespace quorin::np {
namespace {

using frame::owned;

vectorcallfunc numpy_call = nullptr;  // NumPy's own, the same for every ufunc

// ---- the parts of a call ------------------------------------------------------------------

struct Parts {
    PyObject* const* args;
    Py_ssize_t nargs;
    PyObject* kwnames;
    int nin;
    int nout;
    PyObject* outs[NPY_MAXARGS] = {};  // the outputs given, nullptr for none
    bool any_out = false;
    PyObject* where = nullptr;
};

Parts parts_of(const Entry& e, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    Parts p{args, nargs, kwnames, e.form->nin, e.form->nout};
    for (Py_ssize_t i = p.nin; i < nargs && i < p.nin + p.nout; ++i)
        p.outs[i - p.nin] = args[i] == Py_None ? nullptr : args[i];
    Py_ssize_t nkw = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < nkw; ++k) {
        PyObject* name = PyTuple_GET_ITEM(kwnames, k);
        PyObject* value = args[nargs + k];
        if (is_name(name, "where")) {
            p.where = value;
        } else if (is_name(name, "out")) {
            if (PyTuple_Check(value)) {
                for (Py_ssize_t o = 0; o < PyTuple_GET_SIZE(value) && o < p.nout; ++o) {
                    PyObject* item = PyTuple_GET_ITEM(value, o);
                    p.outs[o] = item == Py_None ? nullptr : item;
                }
            } else {
                p.outs[0] = value == Py_None ? nullptr : value;
            }
        }
    }
    for (int o = 0; o < p.nout; ++o) p.any_out |= p.outs[o] != nullptr;
    return p;
}

// The bytes an array's elements span: [low, high).
void extent(PyArrayObject* a, const char*& low, const char*& high) {
    low = high = static_cast<const char*>(PyArray_DATA(a));
    for (int d = 0; d < PyArray_NDIM(a); ++d) {
        npy_intp span = PyArray_STRIDE(a, d) * (PyArray_DIM(a, d) - 1);
        (span < 0 ? low : high) += span;
    }
    high += PyArray_ITEMSIZE(a);
}

// Whether writing an output may change an input before a second run reads it.
bool outputs_may_overwrite_inputs(const Parts& p) {
    for (int o = 0; o < p.nout; ++o) {
        auto* out = reinterpret_cast<PyArrayObject*>(p.outs[o]);
        if (out == nullptr || !PyArray_Check(p.outs[o]) || PyArray_SIZE(out) == 0) continue;
        const char *olow, *ohigh;
        extent(out, olow, ohigh);
        for (int i = 0; i < std::min<Py_ssize_t>(p.nargs, p.nin); ++i) {
            auto* in = reinterpret_cast<PyArrayObject*>(p.args[i]);
            if (!PyArray_Check(p.args[i]) || PyArray_SIZE(in) == 0) continue;
            const char *ilow, *ihigh;
            extent(in, ilow, ihigh);
            if (ilow < ohigh && olow < ihigh) return true;
        }
    }
    return false;
}

// A vector call of the same ufunc made anew from some of a call's arguments.
struct Remade {
    std::vector<PyObject*> stack;  // positional arguments, then keyword values (borrowed)
    std::vector<PyObject*> names;  // borrowed
    std::vector<PyObject*> kept;   // references the remade call owns
    Py_ssize_t nargs = 0;

    Remade() = default;
    Remade(const Remade&) = delete;
    Remade& operator=(const Remade&) = delete;
    ~Remade() {
        for (PyObject* o : kept) Py_DECREF(o);
    }
    // Takes a new reference (nullptr after a failure, whose exception is pending).
    PyObject* keep(PyObject* o) {
        if (o != nullptr) kept.push_back(o);
        return o;
    }

    void keyword(PyObject* name, PyObject* value) {
        names.push_back(name);
        stack.push_back(value);
    }
    PyObject* call(PyObject* ufunc) {
        owned kwnames(PyTuple_New(static_cast<Py_ssize_t>(names.size())));
        if (!kwnames) return nullptr;
        for (std::size_t k = 0; k < names.size(); ++k)
            PyTuple_SET_ITEM(kwnames.p, static_cast<Py_ssize_t>(k), Py_NewRef(names[k]));
        return numpy_call(ufunc, stack.data(), static_cast<std::size_t>(nargs),
                          names.empty() ? nullptr : kwnames.p);
    }
};

// The call's own arguments, its keywords but `drop` (and "order"), iterating in C order.
bool remake_in_c_order(const Parts& p, bool drop_outputs, Remade& r) {
    Py_ssize_t positional = drop_outputs ? std::min<Py_ssize_t>(p.nargs, p.nin) : p.nargs;
    r.stack.assign(p.args, p.args + positional);
    r.nargs = positional;
    Py_ssize_t nkw = p.kwnames ? PyTuple_GET_SIZE(p.kwnames) : 0;
    for (Py_ssize_t k = 0; k < nkw; ++k) {
        PyObject* name = PyTuple_GET_ITEM(p.kwnames, k);
        if (is_name(name, "order") ||
            (drop_outputs && (is_name(name, "out") || is_name(name, "subok"))))
            continue;
        r.keyword(name, p.args[p.nargs + k]);
    }
    PyObject* name = r.keep(PyUnicode_InternFromString("order"));
    PyObject* c = r.keep(PyUnicode_FromString("C"));
    if (name == nullptr || c == nullptr) return false;
    r.keyword(name, c);
    return true;
}

// ---- where the first refusal lies ---------------------------------------------------------

// The C index, in the broadcast result `like`, of the element a run in C order visited k-th:
// with where=, the k-th element (from 0) that it selects.
bool selected_index(PyObject* where, PyArrayObject* like, std::int64_t k, std::int64_t& index) {
    index = k;
    if (where == nullptr || where == Py_True) return true;
    owned w(PyArray_FROM_OTF(where, NPY_BOOL, NPY_ARRAY_FORCECAST));
    if (!w) return false;
    owned it(PyArray_MultiIterNew(2, w.p, like));
    if (!it) return false;
    auto* m = reinterpret_cast<PyArrayMultiIterObject*>(it.p);
    std::int64_t seen = 0;
    for (npy_intp i = 0; i < m->size; ++i) {
        if (*static_cast<npy_bool*>(PyArray_MultiIter_DATA(m, 0)) && seen++ == k) {
            index = i;
            return true;
        }
        PyArray_MultiIter_NEXT(m);
    }
    return true;
}

struct Located {
    bool found = false;
    std::int64_t index = -1;
    array::Refusal kind = array::Refusal::precondition;
    std::optional<QuorinError> why;
};

PyArrayObject* first_output(PyObject* result) {
    PyObject* first = PyTuple_Check(result) ? PyTuple_GET_ITEM(result, 0) : result;
    return PyArray_Check(first) ? reinterpret_cast<PyArrayObject*>(first) : nullptr;
}

// Where the refusal a record holds lies in `out`, an output of the call's broadcast shape: read
// off the output address when the loop wrote straight into `out` (a fresh C-ordered array),
// counted through where= otherwise.
// An output with core dimensions of its own (a rotation matrix, say) holds `cells` values per
// element of the loop; `loop` is then its view at the first of them, of the loop's shape.
int output_core_ndim(PyObject* ufunc) {
    auto* u = reinterpret_cast<PyUFuncObject*>(ufunc);
    return u->core_enabled ? u->core_num_dims[u->nin] : 0;
}

bool take_position(const Record& rec, PyObject* where, PyArrayObject* out, Located& at) {
    at.found = true;
    at.kind = rec.first_kind;
    at.why = rec.first;
    const int core = std::min(output_core_ndim(rec.ufunc), PyArray_NDIM(out));
    std::ptrdiff_t cells = 1;
    for (int k = PyArray_NDIM(out) - core; k < PyArray_NDIM(out); ++k) cells *= PyArray_DIM(out, k);
    auto* base = static_cast<const char*>(PyArray_DATA(out));
    std::ptrdiff_t offset = rec.first_output - base;
    if (rec.first_output != nullptr && PyArray_IS_C_CONTIGUOUS(out) && offset >= 0 &&
        offset < 8 * PyArray_SIZE(out) && offset % (8 * cells) == 0 &&
        PyArray_ITEMSIZE(out) == 8) {
        at.index = offset / (8 * cells);
        return true;
    }
    if (core == 0) return selected_index(where, out, rec.first_visited, at.index);
    owned first(PyTuple_New(core + 1));
    if (!first) return false;
    PyTuple_SET_ITEM(first.p, 0, Py_NewRef(Py_Ellipsis));
    for (int k = 1; k <= core; ++k) {
        PyObject* zero = PyLong_FromLong(0);
        if (zero == nullptr) return false;
        PyTuple_SET_ITEM(first.p, k, zero);
    }
    owned loop(PyObject_GetItem(reinterpret_cast<PyObject*>(out), first.p));
    if (!loop || !PyArray_Check(loop.p)) return false;
    return selected_index(where, reinterpret_cast<PyArrayObject*>(loop.p), rec.first_visited,
                          at.index);
}

// Runs the call again, forced into C order, into fresh float64 outputs, as far as its first
// refusal (NumPy then finishes the call without the loop computing anything more).
bool locate(PyObject* ufunc, const Parts& p, Located& at) {
    Remade r;
    if (!remake_in_c_order(p, true, r)) return false;
    if (p.any_out) {  // outputs of the shape of the call's own, which may broadcast the inputs
        PyObject* fresh = r.keep(PyTuple_New(p.nout));
        PyObject* name = r.keep(PyUnicode_InternFromString("out"));
        if (fresh == nullptr || name == nullptr) return false;
        for (int o = 0; o < p.nout; ++o) {
            auto* given = reinterpret_cast<PyArrayObject*>(p.outs[o]);
            PyObject* made = given && PyArray_Check(p.outs[o])
                                 ? PyArray_SimpleNew(PyArray_NDIM(given), PyArray_DIMS(given),
                                                     NPY_FLOAT64)
                                 : Py_NewRef(Py_None);
            if (made == nullptr) return false;
            PyTuple_SET_ITEM(fresh, o, made);
        }
        r.keyword(name, fresh);
    }
    PyObject* subok = r.keep(PyUnicode_InternFromString("subok"));
    if (subok == nullptr) return false;
    r.keyword(subok, Py_False);
    Record rec{ufunc, Mode::raise};
    rec.locating = true;
    owned result;
    {
        Armed armed(&rec);
        result.p = r.call(ufunc);
    }
    if (!result) return false;
    if (!rec.found) return true;
    PyArrayObject* out = first_output(result.p);
    if (out == nullptr) return true;
    return take_position(rec, p.where, out, at);
}

// ---- reporting ----------------------------------------------------------------------------

// Refusals found before the call by quorin_np._interop.
struct Pre {
    std::int64_t count = 0;
    std::int64_t index = -1;
    PyObject* error = nullptr;      // borrowed
    PyObject* positions = nullptr;  // borrowed: the flat index of each element of the call
};

std::string message_of(PyObject* exc) {
    owned text(PyObject_Str(exc));
    const char* utf8 = text ? PyUnicode_AsUTF8(text.p) : nullptr;
    if (utf8 == nullptr) {
        PyErr_Clear();
        return "";
    }
    return utf8;
}

// A call over some elements of a larger one (gathered by quorin_np._interop): the index of its
// element in the larger one.
bool position_in_whole(PyObject* positions, std::int64_t& index) {
    owned at(PyLong_FromLongLong(index));
    owned item(at ? PyObject_GetItem(positions, at.p) : nullptr);
    if (!item) return false;
    index = PyLong_AsLongLong(item.p);
    return !(index == -1 && PyErr_Occurred());
}

PyObject* report(PyObject* ufunc, const Entry& e, const Parts& p, Record& rec, PyObject* result,
                 const Pre& pre, bool in_c_order) {
    owned res(result);
    if (!res) {
        if (!rec.stopped) return nullptr;  // not a refusal: KeyboardInterrupt, say
        PyErr_Clear();                     // the loop's own exception, without its position
    }
    if (rec.lost) return PyErr_NoMemory();
    Located kernel;
    if (rec.count > 0) {
        if (in_c_order) {
            PyArrayObject* like = nullptr;
            for (int o = 0; o < p.nout && like == nullptr; ++o)
                if (p.outs[o] && PyArray_Check(p.outs[o])) like = (PyArrayObject*)p.outs[o];
            if (like == nullptr && res) like = first_output(res.p);
            if (like != nullptr && !take_position(rec, p.where, like, kernel)) return nullptr;
        } else if (!locate(ufunc, p, kernel)) {
            return nullptr;
        }
        if (!kernel.found) {  // the inputs changed between the runs: the first run's own
            kernel.found = true;
            kernel.index = rec.first_visited;
            kernel.kind = rec.first_kind;
            kernel.why = rec.first;
        }
        if (pre.positions != nullptr && !position_in_whole(pre.positions, kernel.index))
            return nullptr;
    }
    bool take_pre = pre.count > 0 && (!kernel.found || pre.index < kernel.index);
    std::int64_t index = take_pre ? pre.index : kernel.index;
    if (rec.mode == Mode::raise) {
        owned exc(take_pre ? Py_NewRef(pre.error) : refusal_exception(kernel.kind, *kernel.why));
        if (!exc) return nullptr;
        owned note(PyUnicode_FromFormat("quorin_np.%s: refused the element at flat index %lld",
                                        e.name.c_str(), static_cast<long long>(index)));
        owned added(note ? PyObject_CallMethod(exc.p, "add_note", "O", note.p) : nullptr);
        if (!added) return nullptr;
        PyErr_SetRaisedException(exc.release());
        return nullptr;
    }
    std::string m = take_pre ? message_of(pre.error) : std::string(kernel.why->message());
    if (PyErr_WarnFormat(PyExc_RuntimeWarning, 1,
                         "quorin_np.%s: %lld element(s) refused and set to NaN; the first, at flat "
                         "index %lld: %s",
                         e.name.c_str(), static_cast<long long>(rec.count + pre.count),
                         static_cast<long long>(index), m.c_str()) < 0)
        return nullptr;
    return res.release();
}

// ---- the call -----------------------------------------------------------------------------

PyObject* run(PyObject* ufunc, const Entry& e, PyObject* const* args, std::size_t nargsf,
              PyObject* kwnames, const Pre& pre) {
    Mode mode;
    if (!current_mode(mode)) return nullptr;
    if (mode == Mode::nan) {
        Armed none(nullptr);
        return numpy_call(ufunc, args, nargsf, kwnames);
    }
    Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
    Record rec{ufunc, mode};
    // An output that may overwrite an input before a second run could read it: this run is
    // made in C order, so that it finds the first refusal itself.
    bool in_c_order = false;
    PyObject* result;
    if (nargs > e.form->nin || kwnames != nullptr) {
        Parts p = parts_of(e, args, nargs, kwnames);
        in_c_order = p.any_out && outputs_may_overwrite_inputs(p);
    }
    if (in_c_order) {
        Remade r;
        if (!remake_in_c_order(parts_of(e, args, nargs, kwnames), false, r)) return nullptr;
        Armed armed(&rec);
        result = r.call(ufunc);
    } else {
        Armed armed(&rec);
        result = numpy_call(ufunc, args, nargsf, kwnames);
    }
    if (rec.count == 0 && !rec.stopped && !rec.lost && pre.count == 0) [[likely]]
        return result;
    return report(ufunc, e, parts_of(e, args, nargs, kwnames), rec, result, pre, in_c_order);
}

PyObject* call(PyObject* ufunc, PyObject* const* args, std::size_t nargsf,
               PyObject* kwnames) noexcept {
    try {
        const Entry* e = entry_of(ufunc);
        if (e == nullptr) return nullptr;
        Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
        if (needs_preparing(*e->form, args, nargs, kwnames))
            return prepared_call(ufunc, args, nargs, kwnames);
        return run(ufunc, *e, args, nargsf, kwnames, Pre{});
    } catch (...) {
        return frame::raise_escaped_exception();
    }
}

}  // namespace

int take_calls(PyObject* ufunc) {
    if (PyArray_ImportNumPyAPI() < 0 || import_prepare_api() < 0) return -1;
    auto* u = reinterpret_cast<PyUFuncObject*>(ufunc);
    if (numpy_call == nullptr) numpy_call = u->vectorcall;
    u->vectorcall = call;
    return 0;
}

PyObject* call_with(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
    try {
        if (nargs != 7 || !PyTuple_Check(args[1]) || !PyDict_Check(args[2])) {
            PyErr_SetString(PyExc_TypeError, "_call_with(ufunc, args: tuple, kwargs: dict, count, "
                                             "index, error, positions)");
            return nullptr;
        }
        const Entry* e = entry_of_object(args[0]);
        if (e == nullptr) return nullptr;
        Pre pre;
        pre.count = PyLong_AsLongLong(args[3]);
        pre.index = PyLong_AsLongLong(args[4]);
        pre.error = args[5];
        pre.positions = args[6] == Py_None ? nullptr : args[6];
        if (PyErr_Occurred()) return nullptr;
        if (pre.count > 0 && !PyExceptionInstance_Check(pre.error)) {
            PyErr_SetString(PyExc_TypeError, "_call_with: error must be an exception");
            return nullptr;
        }
        // The vector call of ufunc(*args, **kwargs), holding its own references: the call may
        // run code that changes the dict.
        PyObject* positional = args[1];
        PyObject* keywords = args[2];
        Remade r;
        r.nargs = PyTuple_GET_SIZE(positional);
        for (Py_ssize_t i = 0; i < r.nargs; ++i)
            r.stack.push_back(r.keep(Py_NewRef(PyTuple_GET_ITEM(positional, i))));
        Py_ssize_t at = 0;
        PyObject *key, *value;
        while (PyDict_Next(keywords, &at, &key, &value))
            r.keyword(r.keep(Py_NewRef(key)), r.keep(Py_NewRef(value)));
        owned kwnames(PyTuple_New(static_cast<Py_ssize_t>(r.names.size())));
        if (!kwnames) return nullptr;
        for (std::size_t k = 0; k < r.names.size(); ++k)
            PyTuple_SET_ITEM(kwnames.p, static_cast<Py_ssize_t>(k), Py_NewRef(r.names[k]));
        return run(args[0], *e, r.stack.data(), static_cast<std::size_t>(r.nargs),
                   r.names.empty() ? nullptr : kwnames.p, pre);
    } catch (...) {
        return frame::raise_escaped_exception();
    }
}

}  // namespace quorin::np
