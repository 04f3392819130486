// Cores over texts, run over collections of str. A text core is no ufunc: NumPy would turn a
// list such as ["ACGU", 5] into the strings "ACGU" and "5" before any loop saw it, where the
// scalar function refuses the 5; and the folds of a batch must run without the interpreter lock
// and still stop for Ctrl-C. So a call goes chunk by chunk through two phases:
//   1. With the lock: the elements of the broadcast arguments are read where they lie, each
//      str held for the chunk and its UTF-8 buffer lent, exactly as the scalar function
//      converts its argument; a missing element (None, NaN, pandas' NA, a StringDType's NA) is
//      marked missing in the result, and one the conversion refuses keeps its exception.
//   2. The row's own array kernel runs the core over the chunk's texts: at once, with the lock,
//      where an element is cheap; without it, on the call's own threads, for folds, with the
//      main thread taking the lock every few milliseconds to run signal handlers.
// Refusals follow the refusal mode, as for the ufuncs; missing elements are never refused.
#include "np/texts.hpp"

#include <array>
#include <chrono>
#include <cstring>
#include <deque>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame.hpp"
#include "interrupt.hpp"
#include "np/mode.hpp"
#include "np/reference.hpp"
#include "np/signals.hpp"
#include "np/text_compute.hpp"
#include "np/text_options.hpp"
#include "rna/lanes.hpp"
#include "table.hpp"

namespace quorin::np {
namespace {

using Clock = std::chrono::steady_clock;

// What a function over texts adds to its row.
struct Extras {
    const char* name;
    bool without_lock;              // elements cost enough to compute without the lock
    std::span<const Option> options;  // keyword-only, after the core's parameters
    std::span<const Option> feeds;  // the options given to the core's per-call parameters
    const Batch* batch;             // a kernel over groups of short elements, or nullptr
};

constexpr Option kFoldOptions[] = {Option::min_loop, Option::workers};
constexpr Option kOneFoldOptions[] = {Option::min_loop};
constexpr Option kFoldFeeds[] = {Option::min_loop};

void short_folds(const std::string_view* texts, std::size_t count, std::uint64_t* counts,
                 const std::uint64_t* per_call) {
    rna::fold_lanes(texts, count, counts, per_call[0]);
}
// A group costs about as much whatever its size: measured here, a group of 32 folds took as
// long as 12 sequences of 30 bases folded one by one in the 8-bit row fill, 10 of 100 bases and
// 18 of 190; a group of fewer than half the lanes is folded one by one instead.
constexpr Batch kShortFolds{rna::kLanes, rna::kLanes / 2, rna::lanes_take, short_folds};

// Folds take from a microsecond to hours each: they are worth letting go of the lock, and of
// more cores. gc_content and sequence_identity take nanoseconds and keep the lock. The pairs
// of one sequence are one fold: no threads to share it out.
constexpr Extras kExtras[] = {
    {"nussinov", true, kFoldOptions, kFoldFeeds, &kShortFolds},
    {"nussinov_structure", true, kFoldOptions, kFoldFeeds, nullptr},
    {"nussinov_pairs", true, kOneFoldOptions, kFoldFeeds, nullptr},
};

struct TextFunction {
    const Row* row;
    Extras extras;
    std::string name;
    std::string doc;
    PyMethodDef def;
};

// A chunk with the lock held ends after this many elements or bytes of text, so that its texts
// are still in cache when computed; a chunk of folds, after many more, so that the threads
// share it out.
constexpr npy_intp kChunkElements = 64;
constexpr std::size_t kChunkBytes = std::size_t{4} << 10;
constexpr npy_intp kFoldChunkElements = npy_intp{1} << 14;
constexpr std::size_t kFoldChunkBytes = std::size_t{64} << 20;
// With the lock held, it is let go this often between chunks, for the other threads.
constexpr auto kYieldEvery = std::chrono::milliseconds(5);

// The link of a batch to the interpreter while it runs without the lock: on the main thread,
// at most every few milliseconds, it takes the lock to run pending signal handlers, and keeps
// the exception of one that raises.
struct SignalCheck {
    PyThreadState* saved = nullptr;
    bool main_thread = false;
    SignalClock clock;
    PyObject* raised = nullptr;

    static bool stop(void* context) {
        auto* c = static_cast<SignalCheck*>(context);
        if (c->raised != nullptr) return true;
        if (!c->main_thread || !c->clock.due()) return false;  // main thread only
        PyEval_RestoreThread(c->saved);
        if (PyErr_CheckSignals() < 0) c->raised = PyErr_GetRaisedException();
        c->saved = PyEval_SaveThread();
        return c->raised != nullptr;
    }
};

// ---- the outcome ------------------------------------------------------------------------------

std::string_view first_message(const Tally& t) {
    return t.kind == array::Refusal::conversion ? std::string_view(t.conversion_message)
                                                : t.why->message();
}

// A result of texts or pairs, held in C++ until the call has them all.
bool holds(const array::Form& f) {
    return f.yields == array::Yields::text || f.yields == array::Yields::pairs;
}

// A function of one sequence (its pairs) raises its refusal as a function of one str does,
// whatever the refusal mode: there is no element of an array to mark refused.
bool of_one(const array::Form& f) { return f.yields == array::Yields::pairs; }

PyObject* raise_refusal(const TextFunction& fn, Tally& t) {
    owned exc;
    if (t.kind == array::Refusal::conversion) {
        exc.p = t.conversion.release();
    } else {
        std::string_view m = t.why->message();
        owned msg(PyUnicode_FromStringAndSize(m.data(), static_cast<Py_ssize_t>(m.size())));
        if (msg) exc.p = PyObject_CallOneArg(PyExc_ValueError, msg.p);
    }
    if (!exc) return frame::fail_without_exception();
    if (of_one(*fn.row->array)) {
        PyErr_SetRaisedException(exc.release());
        return nullptr;
    }
    owned note(PyUnicode_FromFormat("quorin_np.%s: refused the element at flat index %lld",
                                    fn.name.c_str(), static_cast<long long>(t.first_at)));
    owned added(note ? PyObject_CallMethod(exc.p, "add_note", "O", note.p) : nullptr);
    if (!added) PyErr_Clear();
    PyErr_SetRaisedException(exc.release());
    return nullptr;
}

bool warn_refusals(const TextFunction& fn, const Tally& t) {
    std::string_view m = first_message(t);
    const array::Form& f = *fn.row->array;
    const char* marker = f.count_result ? "-1" : holds(f) ? "None" : "NaN";
    return PyErr_WarnFormat(PyExc_RuntimeWarning, 1,
                            "quorin_np.%s: %lld element(s) refused and set to %s; the first, at "
                            "flat index %lld: %.*s",
                            fn.name.c_str(), static_cast<long long>(t.count), marker,
                            static_cast<long long>(t.first_at),
                            static_cast<int>(m.size()), m.data()) == 0;
}

// quorin_np._interop.<name>(*args): the containers made in Python.
PyObject* interop(const char* name, PyObject* args) {
    owned module(PyImport_ImportModule("quorin_np._interop"));
    owned f(module ? PyObject_GetAttrString(module.p, name) : nullptr);
    return f ? PyObject_Call(f.p, args, nullptr) : nullptr;
}

// The StringDType of the texts of a result: with None as its NA when some element has none.
PyArray_Descr* string_dtype(bool with_na) {
    owned dtypes(PyImport_ImportModule("numpy.dtypes"));
    owned type(dtypes ? PyObject_GetAttrString(dtypes.p, "StringDType") : nullptr);
    if (!type) return nullptr;
    owned kwargs(with_na ? Py_BuildValue("{s:O}", "na_object", Py_None) : nullptr);
    if (with_na && !kwargs) return nullptr;
    owned none(PyTuple_New(0));
    PyObject* d = none ? PyObject_Call(type.p, none.p, kwargs.p) : nullptr;
    if (d != nullptr && !PyArray_DescrCheck(d)) {
        Py_DECREF(d);
        return reinterpret_cast<PyArray_Descr*>(frame::raise_internal("StringDType is no dtype"));
    }
    return reinterpret_cast<PyArray_Descr*>(d);
}

// The texts as Python's: a str (None when absent) for one, otherwise an array of StringDType.
PyObject* texts_made(const Elements& elements, std::vector<array::Held>& held) {
    if (elements.nd == 0) {
        const array::Held& h = held[0];
        if (!h.present) Py_RETURN_NONE;
        return PyUnicode_FromStringAndSize(h.text.data(), static_cast<Py_ssize_t>(h.text.size()));
    }
    bool absent = false;
    for (const array::Held& h : held) absent |= !h.present;
    PyArray_Descr* descr = string_dtype(absent);
    if (descr == nullptr) return nullptr;
    owned result(PyArray_Empty(elements.nd, const_cast<npy_intp*>(elements.shape), descr, 0));
    if (!result) return nullptr;
    auto* a = reinterpret_cast<PyArrayObject*>(result.p);
    char* data = static_cast<char*>(PyArray_DATA(a));
    const npy_intp step = PyArray_ITEMSIZE(a);
    npy_string_allocator* allocator =
        NpyString_acquire_allocator(reinterpret_cast<PyArray_StringDTypeObject*>(PyArray_DESCR(a)));
    int failed = 0;
    for (std::size_t i = 0; i < held.size() && failed == 0; ++i) {
        auto* packed = reinterpret_cast<npy_packed_static_string*>(data + static_cast<npy_intp>(i) * step);
        array::Held& h = held[i];
        failed = h.present ? NpyString_pack(allocator, packed, h.text.data(), h.text.size())
                           : NpyString_pack_null(allocator, packed);
        std::string().swap(h.text);  // given up as soon as it is copied
    }
    NpyString_release_allocator(allocator);
    if (failed < 0) return PyErr_NoMemory();
    return result.release();
}

// The pairs of the one element as an (n_pairs, 2) int64 array.
PyObject* pairs_made(const array::Held& h) {
    npy_intp shape[2] = {static_cast<npy_intp>(h.pairs.size() / 2), 2};
    owned result(PyArray_SimpleNew(2, shape, NPY_INT64));
    if (!result) return nullptr;
    if (!h.pairs.empty())
        std::memcpy(PyArray_DATA(reinterpret_cast<PyArrayObject*>(result.p)), h.pairs.data(),
                    h.pairs.size() * sizeof(std::int64_t));
    return result.release();
}

PyObject* tuple_of_slots(PyObject* const* slots, int n) {
    owned t(PyTuple_New(n));
    if (!t) return nullptr;
    for (int k = 0; k < n; ++k) PyTuple_SET_ITEM(t.p, k, Py_NewRef(slots[k]));
    return t.release();
}

// ---- one call ---------------------------------------------------------------------------------

PyObject* call(const TextFunction& fn, PyObject* module, PyObject* const* args, Py_ssize_t nargs,
               PyObject* kwnames) {
    const Row& row = *fn.row;
    const array::Form& f = *row.array;
    const int nin = f.nin - f.per_call;  // the texts; the options follow them in the core
    Options options;
    PyObject* kept[NPY_MAXARGS + 8];
    PyObject* kept_names_raw = nullptr;
    PyObject* given_raw = nullptr;
    Py_ssize_t nkw = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    if (nargs + nkw > NPY_MAXARGS + 8)  // more than any signature takes: the binder says why
        return frame::bind(*row.signature, args, nargs, kwnames, kept), nullptr;
    if (!take_options(fn.name.c_str(), fn.extras.options, args, nargs, kwnames, kept,
                      kept_names_raw, options, given_raw))
        return nullptr;
    owned kept_names(kept_names_raw), given(given_raw);
    PyObject* slots[NPY_MAXARGS];
    if (!frame::bind(*row.signature, given ? kept : args, nargs, kept_names.p, slots))
        return nullptr;

    for (int k = 0; k < nin; ++k)
        if (is_foreign(slots[k]) && !of_one(f)) {
            owned function(PyObject_GetAttrString(module, fn.name.c_str()));
            owned values(function ? tuple_of_slots(slots, nin) : nullptr);
            owned call_args(values ? Py_BuildValue("(OOO)", function.p, values.p,
                                                   given ? given.p : Py_None)
                                   : nullptr);
            return call_args ? interop("texts_foreign", call_args.p) : nullptr;
        }

    Mode mode = Mode::raise;
    if (!of_one(f) && !current_mode(mode)) return nullptr;
    PyObject* series = nullptr;  // the first argument that is a pandas Series
    owned columns[NPY_MAXARGS];
    PyArrayObject* arrays[NPY_MAXARGS];
    for (int k = 0; k < nin; ++k) {
        if (series == nullptr && is_pandas_series(slots[k])) series = slots[k];
        columns[k].p = reinterpret_cast<PyObject*>(
            as_column(slots[k], fn.name.c_str(), row.signature->params[k]));
        if (!columns[k]) return nullptr;
        arrays[k] = reinterpret_cast<PyArrayObject*>(columns[k].p);
        if (of_one(f) && PyArray_NDIM(arrays[k]) != 0) {
            PyErr_Format(PyExc_TypeError,
                         "quorin_np.%s: argument '%s' must be one str, not a collection (%s)",
                         fn.name.c_str(), row.signature->params[k], Py_TYPE(slots[k])->tp_name);
            return nullptr;
        }
    }
    Elements elements;
    if (!elements.open(arrays, nin)) return nullptr;
    owned result;
    std::vector<array::Held> held;
    char* out;
    if (holds(f)) {
        held.resize(static_cast<std::size_t>(elements.size));
        out = reinterpret_cast<char*>(held.data());
    } else {
        result.p = PyArray_SimpleNew(elements.nd, elements.shape,
                                     f.count_result ? NPY_INT64 : NPY_FLOAT64);
        if (!result) return nullptr;
        out = static_cast<char*>(PyArray_DATA(reinterpret_cast<PyArrayObject*>(result.p)));
    }
    std::uint64_t fed[8] = {};
    for (std::size_t k = 0; k < fn.extras.feeds.size(); ++k) fed[k] = options.fed(fn.extras.feeds[k]);

    const bool folds = fn.extras.without_lock;
    Gathering g{fn.name.c_str(), row.signature, arrays, nin, mode, f.count_result,
                holds(f) ? nullptr : out, folds ? kFoldChunkElements : kChunkElements,
                folds ? kFoldChunkBytes : kChunkBytes};
    owned missing;  // takes g.missing when it is made
    Work work{&f, fn.extras.batch, mode, out, fed};
    Tally tally;
    Chunk chunk;
    Folding folding(folds ? options.workers : 1);
    SignalCheck check;
    if (folds) check.main_thread = on_main_thread();
    interrupt::Check hook{SignalCheck::stop, &check};
    auto yielded = Clock::now();
    while (chunk.end < elements.size) {
        bool gathered = gather(g, elements, chunk, tally);
        if (g.missing != nullptr && !missing) missing.p = reinterpret_cast<PyObject*>(g.missing);
        if (!gathered) return nullptr;
        if (!folds) {
            if (!compute_here(work, chunk, tally)) break;
        } else {
            Stopped s;
            std::exception_ptr failed;
            check.saved = PyEval_SaveThread();
            {
                interrupt::Scope scope(hook);
                try {
                    s = folding.compute(work, chunk);
                } catch (...) {
                    failed = std::current_exception();
                }
            }
            PyEval_RestoreThread(check.saved);
            if (failed) std::rethrow_exception(failed);
            tally.add(s.refusals);
            if (s.interrupted) {
                if (check.raised == nullptr) return frame::fail_without_exception();
                PyErr_SetRaisedException(std::exchange(check.raised, nullptr));
                return nullptr;
            }
            // An exception ends the call, unless (raise mode) an element before it was refused.
            if (s.escape && (mode != Mode::raise || tally.count == 0 || s.escape_at < tally.first_at))
                std::rethrow_exception(s.escape);
        }
        if (mode == Mode::raise && tally.count > 0) break;
        chunk.release();
        if (PyErr_CheckSignals() < 0) return nullptr;
        if (!folds && Clock::now() - yielded > kYieldEvery) {
            Py_BEGIN_ALLOW_THREADS;
            Py_END_ALLOW_THREADS;
            yielded = Clock::now();
        }
    }
    chunk.release();
    if (tally.count > 0) {
        if (mode == Mode::raise) return raise_refusal(fn, tally);
        if (mode == Mode::warn && !warn_refusals(fn, tally)) return nullptr;
    }
    if (of_one(f)) {
        if (!held[0].present)  // missing: there is nothing to fold
            return PyErr_Format(PyExc_TypeError, "quorin_np.%s: argument '%s' is missing (%s)",
                                fn.name.c_str(), row.signature->params[0],
                                Py_TYPE(slots[0])->tp_name);
        return pairs_made(held[0]);
    }
    if (holds(f)) {
        result.p = texts_made(elements, held);
        if (!result || elements.nd == 0) return result.release();
    } else if (elements.nd == 0)
        return PyArray_Return(reinterpret_cast<PyArrayObject*>(result.release()));
    if (series != nullptr && elements.nd == 1) {
        owned wrap(Py_BuildValue("(OOO)", result.p, missing ? missing.p : Py_None, series));
        return wrap ? interop("texts_series", wrap.p) : nullptr;
    }
    return result.release();
}

// ---- registration -------------------------------------------------------------------------------

// The generated reference text in its array wording, after a text signature header (so that
// the function has a __text_signature__) that adds the keyword-only options.
std::string doc_of(const Row& row, const Extras& extras) {
    std::string_view whole(row.doc);
    std::string doc(whole.substr(0, whole.find("\n--\n\n")));
    if (!extras.options.empty()) {
        std::string added = ", *";
        for (Option o : extras.options)
            for (const OptionSpec& s : kOptionSpecs)
                if (s.option == o) added += std::string(", ") + s.shown;
        doc.insert(doc.rfind(')'), added);
    }
    doc += "\n--\n\n";
    if (const char* found = reference_text(row.name)) {
        std::string_view text(found);
        return doc + std::string(text.substr(text.find("\n\n") + 2));
    }
    return doc + "quorin." + row.name + " over collections of str.";
}

Extras extras_of(const Row& row) {
    for (const Extras& e : kExtras)
        if (std::string_view(e.name) == row.name) return e;
    return {row.name, false, {}, {}, nullptr};
}

std::deque<TextFunction>* functions = nullptr;  // kept for the process: the functions point into it

// One entry point per function, so that each is a plain function of the module (shown and
// pickled as such) rather than a method of some object that says which row it runs.
constexpr std::size_t kMaxFunctions = 8;

template <std::size_t I>
PyObject* entry(PyObject* module, PyObject* const* args, Py_ssize_t nargs,
                PyObject* kwnames) noexcept {
    try {
        return call((*functions)[I], module, args, nargs, kwnames);
    } catch (...) {
        return frame::raise_escaped_exception();
    }
}

constexpr auto kEntries = []<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<PyCFunctionFastWithKeywords, kMaxFunctions>{&entry<I>...};
}(std::make_index_sequence<kMaxFunctions>{});

}  // namespace

int add_text_functions(PyObject* module) {
    if (PyArray_ImportNumPyAPI() < 0 || !import_argument_api() || !import_chunk_api()) return -1;
    if (functions == nullptr) {
        functions = new std::deque<TextFunction>;
        const char* wrong = nullptr;
        for_each_array_row([&](const Row& row) {
            if (row.array == nullptr || !row.array->texts) return;
            if (functions->size() == kMaxFunctions) {
                wrong = "quorin_np: too many text functions";
                return;
            }
            TextFunction& fn = functions->emplace_back();
            fn.row = &row;
            fn.extras = extras_of(row);
            const int texts = row.array->nin - row.array->per_call;
            // A group kernel takes one text per element and fills the count of each.
            if (fn.extras.batch != nullptr &&
                (texts != 1 || !row.array->count_result || fn.extras.batch->width > 64))
                wrong = "quorin_np: a group kernel on a row it does not fit";
            if (static_cast<int>(fn.extras.feeds.size()) != row.array->per_call ||
                fn.extras.feeds.size() > 8 || (of_one(*row.array) && texts != 1))
                wrong = "quorin_np: the options of a function over texts do not fit its core";
            fn.name = row.name;
            fn.doc = doc_of(row, fn.extras);
            fn.def = {fn.name.c_str(),
                      reinterpret_cast<PyCFunction>(
                          reinterpret_cast<void (*)()>(kEntries[functions->size() - 1])),
                      METH_FASTCALL | METH_KEYWORDS, fn.doc.c_str()};
        });
        if (wrong != nullptr) return frame::raise_internal(wrong), -1;
    }
    for (TextFunction& fn : *functions) {
        owned f(PyCMethod_New(&fn.def, module, owned(PyModule_GetNameObject(module)).p, nullptr));
        if (!f || PyModule_AddObjectRef(module, fn.name.c_str(), f.p) < 0) return -1;
    }
    return 0;
}

}  // namespace quorin::np
