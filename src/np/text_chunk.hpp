// The elements of a call over texts, gathered a chunk at a time with the interpreter lock: the
// broadcast arguments visited in C order, every element read where it lies (a str held and its
// UTF-8 buffer lent; a StringDType text copied, since its array's memory may move once its
// allocator is let go), and each element's state: a text, missing, or refused by the scalar
// conversion.
#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "array/form.hpp"
#include "np/mode.hpp"
#include "np/text_arguments.hpp"  // NumPy's headers

namespace quorin::np {

// Imports NumPy's C API for this file's functions; false with an exception if it cannot.
bool import_chunk_api();

// The broadcast arguments, element by element in C order (the flat index of the result).
class Elements {
public:
    Elements() = default;
    Elements(const Elements&) = delete;
    Elements& operator=(const Elements&) = delete;
    ~Elements();

    // False with an exception when the arguments do not broadcast.
    bool open(PyArrayObject** columns, int nin);

    int nd = 0;
    npy_intp shape[NPY_MAXDIMS] = {};
    npy_intp size = 0;

    // Operand k of the current element.
    char* at(int k) const { return data_[k] + inner_ * strides_[k]; }
    // Operand k of the element `ahead` places on, when the same inner loop holds it.
    char* ahead_at(int k, npy_intp ahead) const {
        return inner_ + ahead < *count_ ? data_[k] + (inner_ + ahead) * strides_[k] : nullptr;
    }
    // To the next element; false past the last.
    bool advance() {
        if (++inner_ < *count_) return true;
        inner_ = 0;
        return next_(iter_) != 0;
    }

private:
    NpyIter* iter_ = nullptr;
    NpyIter_IterNextFunc* next_ = nullptr;
    char** data_ = nullptr;
    npy_intp* strides_ = nullptr;
    npy_intp* count_ = nullptr;
    npy_intp inner_ = 0;
};

enum class State : std::uint8_t { text, missing, refused };

// Everything refused in a call so far, in flat-index order: the first refusal's kind and
// message (or, for a conversion, its exception) and how many.
struct Tally {
    std::int64_t count = 0;
    std::int64_t first_at = std::numeric_limits<std::int64_t>::max();
    array::Refusal kind = array::Refusal::precondition;
    std::optional<QuorinError> why;
    owned conversion;  // the exception of a conversion refused first
    std::string conversion_message;

    void add(const array::Refusals& r);
};

struct Chunk {
    npy_intp start = 0;  // flat indices [start, end)
    npy_intp end = 0;
    int nin = 0;
    std::vector<std::string_view> views;  // nin per element
    std::vector<State> states;            // per element
    std::vector<PyObject*> held;          // strong references, released by release()
    std::deque<std::string> copies;       // StringDType texts

    const std::string_view* texts(npy_intp i) const { return &views[(i - start) * nin]; }
    State state(npy_intp i) const { return states[i - start]; }
    void release();  // with the lock
    ~Chunk() { release(); }
};

// How a call gathers its chunks: its columns, its mode, and where missing and refused
// elements are marked in the result (NaN, or -1 for a count).
struct Gathering {
    const char* function;
    const Signature* signature;
    PyArrayObject** columns;
    int nin;
    Mode mode;
    bool count_result;
    char* out;                      // the result's 8-byte elements, C order (null: none)
    npy_intp max_elements;          // per chunk
    std::size_t max_bytes;          // of texts per chunk
    PyArrayObject* missing = nullptr;  // made at the first missing element (owned by the caller)
};

// Gathers the next chunk, from chunk.end on. In raise mode it ends after the first refused
// element: nothing after it matters. False with an exception for anything but a refusal.
bool gather(Gathering& g, Elements& elements, Chunk& chunk, Tally& tally);

}  // namespace quorin::np
