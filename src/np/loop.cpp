#include "np/loop.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <new>
#include <thread>
#include <type_traits>
#include <vector>

#include "np/entry.hpp"
#include "np/mode.hpp"
#include "np/record.hpp"
#include "np/signals.hpp"

namespace quorin::np {
namespace {

static_assert(std::is_same_v<npy_intp, std::ptrdiff_t>,
              "The array kernels take strides as std::ptrdiff_t, which must be npy_intp.");

// A loop runs its kernel over blocks of about this many terms (elements, or the elements of
// the lists of a generalised ufunc), a fraction of a millisecond each, and looks at the clock
// between blocks to know when a check for signals is due.
constexpr npy_intp kBlockTerms = npy_intp{1} << 16;

// A generalised ufunc's loop of at least this many blocks is shared with helper threads, one
// per further core: its elements are heavy (whole lists each) and independent.
constexpr npy_intp kSharedBlocks = 4;

struct CallData {
    NpyAuxData base;
    const Entry* entry;
    array::Kernel kernel;
    Mode mode;
    int core_dims;  // the distinct core dimensions of a generalised ufunc, 0 for any other
    array::Refusals refusals;
    Record* record;  // the call's own, when it came through quorin_np's call
    LoopSignals signals;
};

PyObject* add_position_note(PyObject* exc, const Entry& e, std::int64_t at) {
    PyObject* note = PyUnicode_FromFormat("quorin_np.%s: refused the element at flat index %lld",
                                          e.name.c_str(), static_cast<long long>(at));
    PyObject* added = note ? PyObject_CallMethod(exc, "add_note", "O", note) : nullptr;
    Py_XDECREF(note);
    if (added == nullptr) {
        Py_DECREF(exc);
        return nullptr;
    }
    Py_DECREF(added);
    return exc;
}

// Called once per ufunc call, with the interpreter lock held, after the last chunk: the one
// place where a call's refusals are complete. The call that armed a record reports them
// itself; for any other (ufunc.outer, say) the "warn" mode reports them here.
void free_call(NpyAuxData* aux) {
    auto* d = reinterpret_cast<CallData*>(aux);
    const array::Refusals& r = d->refusals;
    if (d->record != nullptr) {
        try {
            d->record->add(r);
        } catch (...) {  // no memory to keep the message: the call fails with MemoryError
            d->record->lost = true;
        }
    } else if (d->mode == Mode::warn && r.count > 0 && !PyErr_Occurred()) {
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
    auto* d = reinterpret_cast<CallData*>(aux);
    CallData* copy = nullptr;
    try {
        copy = new CallData(*d);
    } catch (...) {
        return nullptr;
    }
    copy->refusals = array::Refusals{};  // a copy reports only what it sees itself
    copy->refusals.stop_at_first = d->refusals.stop_at_first;
    return &copy->base;
}

// The kernel stopped at its first refusal, the element at `visited` in this call's order of
// visits, in the block whose pointers are `at`.
int stopped(CallData& d, char* const* at, std::int64_t block_start, const npy_intp* strides) {
    Record* rec = d.record;
    const array::Refusals& r = d.refusals;
    if (rec != nullptr && rec->locating) {
        int nin = d.entry->form->nin;
        rec->found = true;
        rec->first_output = at[nin] + (r.first_at - block_start) * strides[nin];
        return 0;  // NumPy finishes the call; the loop computes nothing more
    }
    PyGILState_STATE g = PyGILState_Ensure();
    PyObject* exc = refusal_exception(r.first_kind, *r.first);
    if (exc != nullptr && rec != nullptr)
        rec->stopped = true;  // the call gives the position itself
    else if (exc != nullptr)
        exc = add_position_note(exc, *d.entry, r.first_at);
    if (exc != nullptr) PyErr_SetRaisedException(exc);
    PyGILState_Release(g);
    return -1;
}

}  // namespace

PyObject* refusal_exception(array::Refusal kind, const QuorinError& why) {
    std::string_view m = why.message();
    PyObject* type = kind == array::Refusal::overflow ? PyExc_OverflowError : PyExc_ValueError;
    PyObject* msg = PyUnicode_FromStringAndSize(m.data(), static_cast<Py_ssize_t>(m.size()));
    if (msg == nullptr) return nullptr;
    PyObject* exc = PyObject_CallOneArg(type, msg);
    Py_DECREF(msg);
    return exc;
}

// The blocks of one loop call computed by the calling thread and helpers: each thread takes the
// next block not yet taken, so its own blocks come in increasing order and its refusals, kept
// apart, have their first at its least position; the call's first refusal is the least of those.
// Every block below it was taken before it and so finished (or stopped at a refusal of its own,
// which would then come first). A refusal in "raise" mode, an escaping exception or a signal
// stops the taking of blocks.
struct SharedLoop {
    CallData& d;
    char* const* data;
    const npy_intp* dims;
    const npy_intp* strides;
    npy_intp n, block, blocks;
    int nops;
    std::atomic<npy_intp> next{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    bool interrupted = false;  // the calling thread's alone

    char* const* block_data(npy_intp b, char** at) const {
        for (int k = 0; k < nops; ++k) at[k] = data[k] + b * block * strides[k];
        return at;
    }

    // Takes and computes blocks into `mine`; the calling thread checks for signals between its
    // blocks.
    void work(array::Refusals& mine, LoopSignals* signals) {
        npy_intp local[1 + NPY_MAXDIMS];
        std::copy(dims + 1, dims + 1 + d.core_dims, local + 1);
        char* at[NPY_MAXARGS];
        try {
            while (!stop.load(std::memory_order_relaxed)) {
                npy_intp b = next.fetch_add(1, std::memory_order_relaxed);
                if (b >= blocks) return;
                local[0] = std::min(block, n - b * block);
                mine.visited = d.refusals.visited + b * block;
                if (!d.kernel(block_data(b, at), local, strides, mine))
                    stop.store(true, std::memory_order_relaxed);
                if (signals != nullptr && !signals->keep_going()) {
                    interrupted = true;
                    stop.store(true, std::memory_order_relaxed);
                }
            }
        } catch (...) {
            if (!failed.exchange(true)) failure = std::current_exception();
            stop.store(true, std::memory_order_relaxed);
        }
    }

    int run(LoopSignals& signals) {
        unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        auto helpers = static_cast<std::size_t>(
            std::min<npy_intp>(blocks - 1, static_cast<npy_intp>(cores) - 1));
        std::vector<array::Refusals> kept(helpers + 1);
        for (array::Refusals& k : kept) k.stop_at_first = d.refusals.stop_at_first;
        std::vector<std::thread> crew;
        for (std::size_t h = 1; h <= helpers; ++h) {
            try {
                crew.emplace_back([this, &kept, h] { work(kept[h], nullptr); });
            } catch (...) {
                break;  // fewer threads, the same results
            }
        }
        work(kept[0], &signals);
        for (std::thread& t : crew) t.join();
        if (failed) std::rethrow_exception(failure);
        if (interrupted) return -1;
        array::Refusals& r = d.refusals;
        const array::Refusals* first = nullptr;
        for (const array::Refusals& k : kept) {
            r.count += k.count;
            if (k.count > 0 && (first == nullptr || k.first_at < first->first_at)) first = &k;
        }
        if (first != nullptr) {
            r.first_kind = first->first_kind;
            r.first = first->first;
            r.first_at = first->first_at;
            if (r.stop_at_first) {
                npy_intp b = (first->first_at - r.visited) / block;
                char* at[NPY_MAXARGS];
                return stopped(d, block_data(b, at), r.visited + b * block, strides);
            }
        }
        r.visited += n;
        return 0;
    }
};

// Usually called without the interpreter lock: it takes the lock only to raise, and, on the
// main thread, every few milliseconds to let a signal handler run.
int strided_loop(PyArrayMethod_Context*, char* const* data, const npy_intp* dimensions,
                 const npy_intp* strides, NpyAuxData* aux) {
    auto* d = reinterpret_cast<CallData*>(aux);
    if (d->record != nullptr && d->record->found) return 0;
    const int nops = d->entry->form->nin + d->entry->form->nout;
    npy_intp dims[1 + NPY_MAXDIMS];
    npy_intp terms = 0;
    for (int k = 1; k <= d->core_dims; ++k) terms += (dims[k] = dimensions[k]);
    const npy_intp n = dimensions[0];
    const npy_intp block = std::max<npy_intp>(1, kBlockTerms / std::max<npy_intp>(1, terms));
    char* at[NPY_MAXARGS];
    try {
        bool locating = d->record != nullptr && d->record->locating;
        if (d->core_dims > 0 && !locating && n >= kSharedBlocks * block) {
            SharedLoop shared{*d, data, dims, strides, n, block, (n + block - 1) / block, nops};
            return shared.run(d->signals);
        }
        for (npy_intp start = 0; start < n; start += block) {
            dims[0] = std::min(block, n - start);
            for (int k = 0; k < nops; ++k) at[k] = data[k] + start * strides[k];
            std::int64_t block_start = d->refusals.visited;
            if (!d->kernel(at, dims, strides, d->refusals))
                return stopped(*d, at, block_start, strides);
            if (start + dims[0] < n && !d->signals.keep_going()) return -1;
        }
        return 0;
    } catch (...) {
        PyGILState_STATE g = PyGILState_Ensure();
        frame::raise_escaped_exception();
        PyGILState_Release(g);
        return -1;
    }
}

int get_loop(PyArrayMethod_Context* context, int, int, const npy_intp*,
             PyArrayMethod_StridedLoop** out_loop, NpyAuxData** out_data,
             NPY_ARRAYMETHOD_FLAGS* flags) {
    const Entry* e = entry_of(context->caller);
    if (e == nullptr) return -1;
    // The kernel that reads each count input as the integer type NumPy resolved for it.
    unsigned mask = 0;
    for (int i = 0, k = 0; i < e->form->nin; ++i)
        if (e->form->inputs[i] != array::Operand::real)
            mask |= static_cast<unsigned>(context->descriptors[i]->type_num == NPY_UINT64) << k++;
    Record* record = Armed::claim(context->caller);
    Mode mode = Mode::raise;
    if (record != nullptr) mode = record->mode;
    else if (!current_mode(mode)) return -1;
    auto* d = new (std::nothrow) CallData{};
    if (d == nullptr) return PyErr_NoMemory(), -1;
    auto* ufunc = reinterpret_cast<PyUFuncObject*>(context->caller);
    d->base.free = free_call;
    d->base.clone = clone_call;
    d->entry = e;
    d->kernel = e->form->kernels[mask];
    d->mode = mode;
    d->core_dims = ufunc->core_enabled ? ufunc->core_num_dim_ix : 0;
    d->refusals.stop_at_first = mode == Mode::raise || (record != nullptr && record->locating);
    d->record = record;
    *out_loop = strided_loop;
    *out_data = &d->base;
    // Overflow to inf and invalid operations to NaN are results here, not floating-point errors.
    *flags = NPY_METH_NO_FLOATINGPOINT_ERRORS;
    return 0;
}

}  // namespace quorin::np
