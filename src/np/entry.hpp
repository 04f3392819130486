// Which row a ufunc of quorin_np runs: its entry, kept in the ufunc's own `obj` slot.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <string>

#include "frame.hpp"

namespace quorin::np {

struct Entry {
    const Row* row;
    const array::Form* form;
    std::string name;  // the ufunc's name (a function with optional parameters has two)
    std::string doc;
};

// The entry of a ufunc; nullptr with SystemError for a ufunc that is none of quorin_np's.
const Entry* entry_of(PyObject* ufunc);

// The same for any object, such as an argument from Python; nullptr with TypeError for one that
// is no ufunc.
const Entry* entry_of_object(PyObject* o);

// The entry that a capsule in a ufunc's `obj` slot will hold; owned by the ufunc.
PyObject* entry_capsule(Entry& e);

}  // namespace quorin::np
