// Cores over texts, run over collections of str. A text core is no ufunc: NumPy would turn a
// list such as ["ACGU", 5] into the strings "ACGU" and "5" before any loop saw it, where the
// scalar function refuses the 5; and the folds of a batch must run without the interpreter lock
// and still stop for Ctrl-C. So a call goes in two phases:
//   1. With the lock: every argument becomes an array of elements (objects, or StringDType), the
//      arguments are broadcast together, and a chunk of elements is converted exactly as the
//      scalar function converts its argument, the UTF-8 texts copied out. An element the
//      conversion refuses keeps its exception.
//   2. Without the lock: the row's own array kernel runs the core over the chunk's texts; on
//      the main thread a signal check takes the lock every few milliseconds.
// and so on, chunk after chunk. Refusals follow the refusal mode, as for the ufuncs.
#include "np/mode.hpp"
#include "np/reference.hpp"
#include "np/signals.hpp"
#include "np/texts.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame.hpp"
#include "interrupt.hpp"
#include "np/text_arguments.hpp"  // NumPy's headers, and the arguments as arrays
#include "table.hpp"

namespace quorin::np {
namespace {

using Clock = std::chrono::steady_clock;

struct TextFunction {
    const Row* row;
    std::string name;
    std::string doc;
    PyMethodDef def;
};

// ---- phase 1: gathering a chunk of texts, with the lock ----------------------------------------

// The texts of one chunk, copied into blocks that never move while the chunk is computed, and
// reused by the next chunk. A copy (rather than a str held and lent) keeps the computation to
// one pass over memory that is already in cache, and holds no lock of any array.
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() {
        if (!spare.data && !blocks_.empty()) spare = std::move(blocks_.front());
    }

    std::string_view copy(const char* p, std::size_t n) {
        while (n > left_) {
            if (++current_ >= blocks_.size()) {
                std::size_t size = std::max<std::size_t>(n, kBlock);
                if (spare.data && spare.size >= size)
                    blocks_.push_back(std::move(spare));
                else
                    blocks_.push_back({std::make_unique_for_overwrite<char[]>(size), size});
                current_ = blocks_.size() - 1;
            }
            next_ = blocks_[current_].data.get();
            left_ = blocks_[current_].size;
        }
        if (n > 0) std::memcpy(next_, p, n);
        std::string_view v(next_, n);
        next_ += n;
        left_ -= n;
        used_ += n;
        return v;
    }
    std::size_t used() const { return used_; }
    void clear() {
        current_ = static_cast<std::size_t>(-1);
        next_ = nullptr;
        left_ = 0;
        used_ = 0;
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    struct Block {
        std::unique_ptr<char[]> data;
        std::size_t size;
    };
    // The first block of a thread's last call, kept for its next one, which then takes no fresh
    // pages from the system. A call within a call (from a signal handler) finds none.
    static thread_local Block spare;
    std::vector<Block> blocks_;
    std::size_t current_ = static_cast<std::size_t>(-1);
    char* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t used_ = 0;
};

thread_local Arena::Block Arena::spare;

// A chunk ends after this many elements or once its texts fill a budget of bytes: small
// enough that the copies are still in cache when they are computed. The budget grows when
// taking the lock back costs more than a fraction of the computing (a thread running Python
// may keep the lock for a switch interval each time).
constexpr npy_intp kChunkElements = npy_intp{1} << 16;
constexpr std::size_t kFirstBudget = std::size_t{1} << 20;
constexpr std::size_t kLastBudget = std::size_t{64} << 20;

struct Chunk {
    npy_intp start = 0;  // flat indices [start, end)
    npy_intp end = 0;
    std::vector<std::vector<std::string_view>> views;  // per parameter, per element
    std::vector<npy_intp> refused;                     // elements whose conversion failed
    Arena arena;
};

// The exception of the first element whose conversion failed, across the chunks of a call.
struct FirstRefused {
    owned error;
    std::string message;
};

// A str's text, converted as the scalar function converts its argument.
bool text_of_object(PyObject* o, std::string_view& v, const Signature& s, int k, Arena& arena) {
    if (o == nullptr) o = Py_None;  // an object array not yet filled
    std::string_view lent;
    if (PyUnicode_CheckExact(o) && PyUnicode_IS_COMPACT_ASCII(o)) {
        lent = std::string_view(static_cast<const char*>(PyUnicode_DATA(o)),
                                static_cast<std::size_t>(PyUnicode_GET_LENGTH(o)));
    } else if (!frame::text_slow(o, lent, s, k)) {
        return false;
    }
    v = arena.copy(lent.data(), lent.size());
    return true;
}

bool text_of_string(const char* p, PyArrayObject* column, npy_string_allocator* allocator,
                    std::string_view& v, const Signature& s, int k, Arena& arena) {
    npy_static_string text = {0, nullptr};
    int rc = NpyString_load(allocator, reinterpret_cast<const npy_packed_static_string*>(p), &text);
    if (rc < 0) {
        PyErr_SetString(PyExc_MemoryError, "could not read a StringDType element");
        return false;
    }
    if (rc == 1) {  // missing: its NA object, as the scalar function would take it
        auto* descr = reinterpret_cast<PyArray_StringDTypeObject*>(PyArray_DESCR(column));
        if (!descr->has_string_na) return text_of_object(descr->na_object, v, s, k, arena);
        text = descr->default_string;
    }
    v = arena.copy(text.buf, text.size);
    return true;
}

// The scalar conversion's own refusals; anything else (MemoryError, say) ends the call.
bool is_refusal(PyObject* exc) {
    return PyErr_GivenExceptionMatches(exc, PyExc_TypeError) ||
           PyErr_GivenExceptionMatches(exc, PyExc_UnicodeError);
}

// Gathers the next chunk from `it`, the broadcast of `columns` standing at chunk.start. In raise
// mode the chunk ends at the first element whose conversion fails: nothing after it matters.
bool gather(const TextFunction& fn, PyArrayObject** columns, int nin, PyArrayMultiIterObject* it,
            Mode mode, std::size_t budget, Chunk& chunk, FirstRefused& first) {
    for (int k = 0; k < nin; ++k)
        if (!unchanged(columns[k], fn.name.c_str())) return false;
    chunk.arena.clear();
    chunk.refused.clear();
    chunk.views.resize(static_cast<std::size_t>(nin));
    for (auto& v : chunk.views) v.clear();

    // One lock per StringDType array (an array given twice is locked once), for the gathering
    // only: the elements are copied out.
    npy_string_allocator* allocators[NPY_MAXARGS] = {};
    PyArray_Descr* descrs[NPY_MAXARGS] = {};
    for (int k = 0; k < nin; ++k) descrs[k] = PyArray_DESCR(columns[k]);
    NpyString_acquire_allocators(static_cast<std::size_t>(nin), descrs, allocators);
    struct release {
        npy_string_allocator** a;
        int n;
        ~release() { NpyString_release_allocators(static_cast<std::size_t>(n), a); }
    } releasing{allocators, nin};

    const Signature& s = *fn.row->signature;
    npy_intp i = chunk.start;
    bool more = true;
    while (more && i < it->size) {
        bool ok = true;
        for (int k = 0; k < nin; ++k) {
            std::string_view v;
            // In parameter order: the first argument that fails decides, as in a call.
            if (ok) {
                char* p = static_cast<char*>(PyArray_MultiIter_DATA(it, k));
                if (allocators[k] != nullptr) {
                    ok = text_of_string(p, columns[k], allocators[k], v, s, k, chunk.arena);
                } else {
                    PyObject* o;
                    std::memcpy(&o, p, sizeof o);
                    ok = text_of_object(o, v, s, k, chunk.arena);
                }
            }
            chunk.views[static_cast<std::size_t>(k)].push_back(v);
        }
        if (!ok) {
            owned exc(PyErr_GetRaisedException());
            if (!exc || !is_refusal(exc.p)) {
                PyErr_SetRaisedException(exc.release());
                return false;
            }
            if (!first.error) {
                owned text(PyObject_Str(exc.p));
                const char* utf8 = text ? PyUnicode_AsUTF8(text.p) : nullptr;
                if (utf8 == nullptr) return false;
                first.message = utf8;
                first.error.p = exc.release();
            }
            chunk.refused.push_back(i);
            more = mode != Mode::raise;
        }
        ++i;
        more = more && i - chunk.start < kChunkElements && chunk.arena.used() < budget;
        PyArray_MultiIter_NEXT(it);
    }
    chunk.end = i;
    return true;
}

// ---- phase 2: the kernel, without the lock ---------------------------------------------------

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
        if (!c->main_thread || !c->clock.due()) return false;
        PyEval_RestoreThread(c->saved);
        if (PyErr_CheckSignals() < 0) c->raised = PyErr_GetRaisedException();
        c->saved = PyEval_SaveThread();
        return c->raised != nullptr;
    }
};

constexpr npy_intp kBetweenChecks = 256;  // elements between two signal checks

void store_refused(char* out, npy_intp i, bool count_result) {
    if (count_result) {
        std::int64_t v = -1;
        std::memcpy(out + i * 8, &v, 8);
    } else {
        double v = std::numeric_limits<double>::quiet_NaN();
        std::memcpy(out + i * 8, &v, 8);
    }
}

// Runs the kernel over a gathered chunk, refusing the elements whose conversion failed. False
// when it stopped at a refusal (raise mode); throws frame::python_error_already_set when a
// signal check stops it.
bool run(const array::Form& f, const Chunk& chunk, const FirstRefused& first, char* out,
         array::Refusals& r) {
    std::ptrdiff_t steps[NPY_MAXARGS];
    for (int k = 0; k < f.nin; ++k) steps[k] = sizeof(std::string_view);
    steps[f.nin] = 8;
    std::size_t next_refused = 0;
    for (npy_intp i = chunk.start; i < chunk.end;) {
        if (next_refused < chunk.refused.size() && chunk.refused[next_refused] == i) {
            // Only the first refusal of a call needs its message: the first conversion's.
            r.refuse(array::Refusal::conversion,
                     QuorinError(r.count == 0 ? first.message : std::string()), i);
            store_refused(out, i, f.count_result);
            ++next_refused;
            ++i;
            if (r.stop_at_first) return false;
            continue;
        }
        npy_intp end = std::min(i + kBetweenChecks, chunk.end);
        if (next_refused < chunk.refused.size()) end = std::min(end, chunk.refused[next_refused]);
        char* data[NPY_MAXARGS];
        for (int k = 0; k < f.nin; ++k)
            data[k] = reinterpret_cast<char*>(const_cast<std::string_view*>(
                chunk.views[static_cast<std::size_t>(k)].data() + (i - chunk.start)));
        data[f.nin] = out + i * 8;
        std::ptrdiff_t n = end - i;
        r.visited = i;
        if (!f.kernels[0](data, &n, steps, r)) return false;
        i = end;
        if (interrupt::requested()) throw frame::python_error_already_set{};
    }
    return true;
}

// ---- the outcome ------------------------------------------------------------------------------

void add_note(PyObject* exc, const TextFunction& fn, std::int64_t at) {
    owned note(PyUnicode_FromFormat("quorin_np.%s: refused the element at flat index %lld",
                                    fn.name.c_str(), static_cast<long long>(at)));
    owned added(note ? PyObject_CallMethod(exc, "add_note", "O", note.p) : nullptr);
    if (!added) PyErr_Clear();
}

PyObject* raise_refusal(const TextFunction& fn, const array::Refusals& r, FirstRefused& first) {
    owned exc;
    if (r.first_kind == array::Refusal::conversion) {
        exc.p = first.error.release();
    } else {
        std::string_view m = r.first->message();
        owned msg(PyUnicode_FromStringAndSize(m.data(), static_cast<Py_ssize_t>(m.size())));
        if (msg) exc.p = PyObject_CallOneArg(PyExc_ValueError, msg.p);
    }
    if (!exc) return frame::fail_without_exception();
    add_note(exc.p, fn, r.first_at);
    PyErr_SetRaisedException(exc.release());
    return nullptr;
}

bool warn_refusals(const TextFunction& fn, const array::Refusals& r, bool count_result) {
    std::string_view m = r.first->message();
    return PyErr_WarnFormat(PyExc_RuntimeWarning, 1,
                            "quorin_np.%s: %lld element(s) refused and set to %s; the first, at "
                            "flat index %lld: %.*s",
                            fn.name.c_str(), static_cast<long long>(r.count),
                            count_result ? "-1" : "NaN", static_cast<long long>(r.first_at),
                            static_cast<int>(m.size()), m.data()) == 0;
}

PyObject* call(const TextFunction& fn, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    const Row& row = *fn.row;
    const array::Form& f = *row.array;
    PyObject* slots[NPY_MAXARGS];
    if (!frame::bind(*row.signature, args, nargs, kwnames, slots)) return nullptr;
    Mode mode;
    if (!current_mode(mode)) return nullptr;

    PyObject* series = nullptr;  // the first argument that is a pandas Series
    owned columns[NPY_MAXARGS];
    PyArrayObject* arrays[NPY_MAXARGS];
    for (int k = 0; k < f.nin; ++k) {
        if (series == nullptr && is_pandas_series(slots[k])) series = slots[k];
        columns[k].p = reinterpret_cast<PyObject*>(as_column(slots[k]));
        if (!columns[k]) return nullptr;
        arrays[k] = reinterpret_cast<PyArrayObject*>(columns[k].p);
    }
    owned multi(PyArray_MultiIterFromObjects(reinterpret_cast<PyObject**>(arrays), f.nin, 0));
    if (!multi) return nullptr;
    auto* broadcast = reinterpret_cast<PyArrayMultiIterObject*>(multi.p);
    owned result(PyArray_SimpleNew(broadcast->nd, broadcast->dimensions,
                                   f.count_result ? NPY_INT64 : NPY_FLOAT64));
    if (!result) return nullptr;
    char* out = static_cast<char*>(PyArray_DATA(reinterpret_cast<PyArrayObject*>(result.p)));

    array::Refusals r;
    r.stop_at_first = mode == Mode::raise;
    SignalCheck check;
    check.main_thread = on_main_thread();
    interrupt::Check hook{SignalCheck::stop, &check};
    FirstRefused first;
    Chunk chunk;
    std::size_t budget = kFirstBudget;
    for (bool going = broadcast->size > 0; going;) {
        if (!gather(fn, arrays, f.nin, broadcast, mode, budget, chunk, first)) return nullptr;
        std::exception_ptr escaped;
        bool interrupted = false;
        check.saved = PyEval_SaveThread();
        auto started = Clock::now();
        {
            interrupt::Scope scope(hook);
            try {
                going = run(f, chunk, first, out, r) && chunk.end < broadcast->size;
            } catch (const frame::python_error_already_set&) {
                interrupted = true;
            } catch (...) {
                escaped = std::current_exception();
            }
        }
        auto computed = Clock::now();
        PyEval_RestoreThread(check.saved);
        if (Clock::now() - computed > (computed - started) / 8) budget = std::min(budget * 4, kLastBudget);
        if (interrupted) {
            if (check.raised == nullptr) return frame::fail_without_exception();
            PyErr_SetRaisedException(check.raised);
            return nullptr;
        }
        if (escaped) {
            try {
                std::rethrow_exception(escaped);
            } catch (...) {
                return frame::raise_escaped_exception();
            }
        }
        chunk.start = chunk.end;
        if (going && PyErr_CheckSignals() < 0) return nullptr;
    }
    if (r.count > 0) {
        if (mode == Mode::raise) return raise_refusal(fn, r, first);
        if (mode == Mode::warn && !warn_refusals(fn, r, f.count_result)) return nullptr;
    }
    if (broadcast->nd == 0)
        return PyArray_Return(reinterpret_cast<PyArrayObject*>(result.release()));
    if (series != nullptr && broadcast->nd == 1) return like_series(result.release(), series);
    return result.release();
}

// ---- registration -------------------------------------------------------------------------------

// The generated reference text in its array wording, after a text signature header (so that
// the function has a __text_signature__), in place of the text's own first line.

std::string doc_of(const Row& row) {
    std::string_view whole(row.doc);
    std::string doc(whole.substr(0, whole.find("\n--\n\n")));
    doc += "\n--\n\n";
    if (const char* found = reference_text(row.name)) {
        std::string_view text(found);
        return doc + std::string(text.substr(text.find("\n\n") + 2));
    }
    return doc + "quorin." + row.name + " over collections of str.";
}

std::deque<TextFunction>* functions = nullptr;  // kept for the process: the functions point into it

// One entry point per function, so that each is a plain function of the module (shown and
// pickled as such) rather than a method of some object that says which row it runs.
constexpr std::size_t kMaxFunctions = 8;

template <std::size_t I>
PyObject* entry(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) noexcept {
    try {
        return call((*functions)[I], args, nargs, kwnames);
    } catch (...) {
        return frame::raise_escaped_exception();
    }
}

constexpr auto kEntries = []<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<PyCFunctionFastWithKeywords, kMaxFunctions>{&entry<I>...};
}(std::make_index_sequence<kMaxFunctions>{});

}  // namespace

int add_text_functions(PyObject* module) {
    if (PyArray_ImportNumPyAPI() < 0 || !import_argument_api()) return -1;
    if (functions == nullptr) {
        functions = new std::deque<TextFunction>;
        bool too_many = false;
        for_each_array_row([&](const Row& row) {
            if (row.array == nullptr || !row.array->texts) return;
            if (functions->size() == kMaxFunctions) {
                too_many = true;
                return;
            }
            TextFunction& fn = functions->emplace_back();
            fn.row = &row;
            fn.name = row.name;
            fn.doc = doc_of(row);
            fn.def = {fn.name.c_str(),
                      reinterpret_cast<PyCFunction>(
                          reinterpret_cast<void (*)()>(kEntries[functions->size() - 1])),
                      METH_FASTCALL | METH_KEYWORDS, fn.doc.c_str()};
        });
        if (too_many) return frame::raise_internal("quorin_np: too many text functions"), -1;
    }
    for (TextFunction& fn : *functions) {
        owned f(PyCMethod_New(&fn.def, module, owned(PyModule_GetNameObject(module)).p, nullptr));
        if (!f || PyModule_AddObjectRef(module, fn.name.c_str(), f.p) < 0) return -1;
    }
    return 0;
}

}  // namespace quorin::np
