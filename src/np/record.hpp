// What the loops of one ufunc call tell the call about the elements they refused. The call arms
// a record on its thread just before handing over to NumPy; the loop NumPy then sets up for
// that ufunc claims it, and reports into it once the call is over.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>
#include <optional>

#include "array/form.hpp"
#include "error/quorin_error.hpp"
#include "np/mode.hpp"

namespace quorin::np {

struct Record {
    Record(PyObject* u, Mode m) : ufunc(u), mode(m) {}

    PyObject* ufunc;
    Mode mode;
    // A run made to find where the first refusal lies in C order: the iteration is forced into
    // C order, it stops at its first refusal and lets NumPy finish without computing the rest.
    bool locating = false;

    bool stopped = false;  // "raise": the loop stopped at a refusal, whose exception is pending
    bool found = false;    // locating: the first refusal is found
    bool lost = false;     // a loop could not report its refusals
    std::int64_t count = 0;
    std::int64_t first_visited = -1;  // the first refusal, counted in the order of the visits
    const char* first_output = nullptr;  // locating: where its first output was to be stored
    array::Refusal first_kind = array::Refusal::precondition;
    std::optional<QuorinError> first;

    // Adds what one loop saw; its first refusal counts only if none came before.
    void add(const array::Refusals& r) {
        if (r.count == 0) return;
        if (count == 0) {
            first_visited = r.first_at;
            first_kind = r.first_kind;
            first = r.first;
        }
        count += r.count;
    }
};

// Makes `record` the one the next loop of its ufunc on this thread claims, for the scope; with
// nullptr, no record at all (a call in "nan" mode, made within another call, reports nothing).
class Armed {
public:
    explicit Armed(Record* record) noexcept;
    ~Armed();
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;

    // The record armed for `ufunc` on this thread, which no later loop will claim; or nullptr
    // (a call that did not come through quorin_np's own call, such as ufunc.outer or reduce).
    static Record* claim(PyObject* ufunc) noexcept;

private:
    Record* previous_;
};

}  // namespace quorin::np
