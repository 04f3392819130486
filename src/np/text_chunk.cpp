#include "np/text_chunk.hpp"

#include <algorithm>
#include <cstring>

namespace quorin::np {
namespace {

// The scalar conversion's own refusals; anything else (MemoryError, say) ends the call.
bool is_refusal(PyObject* exc) {
    return PyErr_GivenExceptionMatches(exc, PyExc_TypeError) ||
           PyErr_GivenExceptionMatches(exc, PyExc_UnicodeError);
}

// Element k of an object column: its text, held; missing; or refused with the scalar
// conversion's exception set.
State read_object(PyObject* o, std::string_view& v, const Signature& s, int k, Chunk& chunk) {
    if (o == nullptr) o = Py_None;  // an object array not yet filled
    if (PyUnicode_CheckExact(o) && PyUnicode_IS_COMPACT_ASCII(o)) [[likely]] {
        v = std::string_view(static_cast<const char*>(PyUnicode_DATA(o)),
                             static_cast<std::size_t>(PyUnicode_GET_LENGTH(o)));
    } else if (is_missing(o)) {
        return State::missing;
    } else if (!frame::text_slow(o, v, s, k)) {
        return State::refused;
    }
    // Holding the str keeps its buffer (and the UTF-8 copy a str caches) for the chunk.
    chunk.held.push_back(Py_NewRef(o));
    return State::text;
}

// Element k of a StringDType column, copied out under its allocator's lock.
State read_string(const char* p, PyArrayObject* column, std::string_view& v, Chunk& chunk) {
    auto* descr = reinterpret_cast<PyArray_StringDTypeObject*>(PyArray_DESCR(column));
    npy_string_allocator* allocator = NpyString_acquire_allocator(descr);
    npy_static_string text = {0, nullptr};
    int rc = NpyString_load(allocator, reinterpret_cast<const npy_packed_static_string*>(p), &text);
    if (rc == 0) chunk.copies.emplace_back(text.buf, text.size);
    NpyString_release_allocator(allocator);
    if (rc < 0) {
        PyErr_SetString(PyExc_MemoryError, "could not read a StringDType element");
        return State::refused;
    }
    if (rc == 1) {  // its NA: the NA object, unless that is a string, which stands for itself
        if (!descr->has_string_na) return State::missing;
        chunk.copies.emplace_back(descr->default_string.buf, descr->default_string.size);
    }
    v = chunk.copies.back();
    return State::text;
}

constexpr npy_intp kAhead = 16;  // elements between a str's prefetch and its reading
// Texts up to this length are asked for whole; the processor's own prefetch follows a longer
// one well once it is read, and asking for it early only crowds the memory's queue.
constexpr std::size_t kTextAhead = 1024;

void store_marker(char* out, npy_intp i, bool count_result) {
    if (count_result) {
        std::int64_t v = -1;
        std::memcpy(out + i * 8, &v, 8);
    } else {
        double v = std::numeric_limits<double>::quiet_NaN();
        std::memcpy(out + i * 8, &v, 8);
    }
}

}  // namespace

bool import_chunk_api() { return PyArray_ImportNumPyAPI() >= 0; }

Elements::~Elements() {
    if (iter_ != nullptr) NpyIter_Deallocate(iter_);
}

bool Elements::open(PyArrayObject** columns, int nin) {
    // The broadcast shape (and NumPy's message when there is none).
    owned multi(PyArray_MultiIterFromObjects(reinterpret_cast<PyObject**>(columns), nin, 0));
    if (!multi) return false;
    auto* m = reinterpret_cast<PyArrayMultiIterObject*>(multi.p);
    nd = m->nd;
    for (int d = 0; d < nd; ++d) shape[d] = m->dimensions[d];
    size = m->size;
    if (size == 0) return true;
    npy_uint32 flags[NPY_MAXARGS];
    for (int k = 0; k < nin; ++k) flags[k] = NPY_ITER_READONLY;
    iter_ = NpyIter_MultiNew(nin, columns,
                             NPY_ITER_EXTERNAL_LOOP | NPY_ITER_REFS_OK | NPY_ITER_ZEROSIZE_OK,
                             NPY_CORDER, NPY_NO_CASTING, flags, nullptr);
    if (iter_ == nullptr) return false;
    next_ = NpyIter_GetIterNext(iter_, nullptr);
    if (next_ == nullptr) return false;
    data_ = NpyIter_GetDataPtrArray(iter_);
    strides_ = NpyIter_GetInnerStrideArray(iter_);
    count_ = NpyIter_GetInnerLoopSizePtr(iter_);
    return true;
}

void Tally::add(const array::Refusals& r) {
    if (r.count == 0) return;
    count += r.count;
    if (r.first_at < first_at) {
        first_at = r.first_at;
        kind = r.first_kind;
        why = r.first;
        Py_CLEAR(conversion.p);
    }
}

void Chunk::release() {
    for (PyObject* o : held) Py_DECREF(o);
    held.clear();
}

bool gather(Gathering& g, Elements& elements, Chunk& chunk, Tally& tally) {
    for (int k = 0; k < g.nin; ++k)
        if (!unchanged(g.columns[k], g.function)) return false;
    chunk.release();
    chunk.copies.clear();
    chunk.states.clear();
    // Room for this chunk only: a call on one str must not clear (and fault in) room for a
    // whole chunk of folds.
    chunk.views.resize(static_cast<std::size_t>(
        std::min(g.max_elements, elements.size - chunk.end) * g.nin));
    chunk.nin = g.nin;
    chunk.start = chunk.end;
    const int nin = g.nin;
    bool is_string[NPY_MAXARGS];
    for (int k = 0; k < nin; ++k) is_string[k] = PyArray_DESCR(g.columns[k])->type_num == NPY_VSTRING;

    std::size_t bytes = 0;
    npy_intp i = chunk.start;
    std::string_view* views = chunk.views.data();
    while (i < elements.size) {
        // In parameter order, the first argument that fails decides, as in a call; but an
        // element with any argument missing is missing, and its refusal is not counted.
        State state = State::text;
        owned refusal;
        for (int k = 0; k < nin; ++k) {
            char* p = elements.at(k);
            State got;
            if (is_string[k]) {
                got = read_string(p, g.columns[k], views[k], chunk);
            } else {
                PyObject* o;
                std::memcpy(&o, p, sizeof o);
                // The headers of the str a few elements on, and the text of a nearer one whose
                // header has arrived by now: the memory then fetches many texts at once, where
                // the kernel would wait for one after another.
                if (const char* next = elements.ahead_at(k, kAhead)) {
                    PyObject* later;
                    std::memcpy(&later, next, sizeof later);
                    __builtin_prefetch(later);
                }
                if (const char* next = elements.ahead_at(k, kAhead / 2)) {
                    PyObject* later;
                    std::memcpy(&later, next, sizeof later);
                    if (later != nullptr && PyUnicode_CheckExact(later) &&
                        PyUnicode_IS_COMPACT_ASCII(later)) {
                        const char* text = static_cast<const char*>(PyUnicode_DATA(later));
                        auto size = static_cast<std::size_t>(PyUnicode_GET_LENGTH(later));
                        if (size <= kTextAhead)
                            for (std::size_t at = 64; at < size; at += 64) __builtin_prefetch(text + at);
                    }
                }
                if (state != State::text)  // only whether it is missing still matters
                    got = is_missing(o ? o : Py_None) ? State::missing : State::text;
                else
                    got = read_object(o, views[k], *g.signature, k, chunk);
            }
            if (got == State::text) {
                bytes += views[k].size();
            } else if (got == State::missing) {
                state = State::missing;
            } else {
                owned exc(PyErr_GetRaisedException());
                if (!exc || !is_refusal(exc.p)) {
                    PyErr_SetRaisedException(exc.release());
                    return false;
                }
                if (state == State::text) {
                    state = State::refused;
                    refusal.p = exc.release();
                }
            }
        }
        if (state == State::refused && tally.count++ >= 0 && i < tally.first_at) {
            owned text(PyObject_Str(refusal.p));
            const char* utf8 = text ? PyUnicode_AsUTF8(text.p) : nullptr;
            if (utf8 == nullptr) return false;
            tally.first_at = i;
            tally.kind = array::Refusal::conversion;
            tally.conversion_message = utf8;
            Py_XSETREF(tally.conversion.p, refusal.release());
        }
        if (state == State::missing) {
            if (g.missing == nullptr) {
                g.missing = reinterpret_cast<PyArrayObject*>(
                    PyArray_ZEROS(elements.nd, elements.shape, NPY_BOOL, 0));
                if (g.missing == nullptr) return false;
            }
            static_cast<npy_bool*>(PyArray_DATA(g.missing))[i] = 1;
        }
        if (state != State::text && g.out != nullptr) store_marker(g.out, i, g.count_result);
        chunk.states.push_back(state);
        views += nin;
        bool more = elements.advance();
        ++i;
        if (!more || (state == State::refused && g.mode == Mode::raise) ||
            i - chunk.start == g.max_elements || bytes >= g.max_bytes)
            break;
    }
    chunk.end = i;
    return true;
}

}  // namespace quorin::np
