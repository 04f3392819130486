#include "np/mode.hpp"

namespace quorin::np {

PyObject* mode_var = nullptr;  // kept for the process

// The variable is public enough to be set by hand, so anything may be found in it: only the
// three names errstate sets are modes, and anything else is refused before any element is.
bool current_mode(Mode& mode) {
    PyObject* value = nullptr;
    if (PyContextVar_Get(mode_var, nullptr, &value) < 0) return false;
    mode = Mode::raise;
    if (value == nullptr) return true;
    bool known = true;
    if (PyUnicode_Check(value) && PyUnicode_CompareWithASCIIString(value, "raise") == 0)
        mode = Mode::raise;
    else if (PyUnicode_Check(value) && PyUnicode_CompareWithASCIIString(value, "nan") == 0)
        mode = Mode::nan;
    else if (PyUnicode_Check(value) && PyUnicode_CompareWithASCIIString(value, "warn") == 0)
        mode = Mode::warn;
    else
        known = false;
    if (!known)
        PyErr_Format(PyExc_ValueError,
                     "quorin_np: the refusal mode is %R, which is none of 'raise', 'nan', "
                     "'warn'; set it with quorin_np.errstate(refused=...)",
                     value);
    Py_DECREF(value);
    return known;
}

}  // namespace quorin::np
