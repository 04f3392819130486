#include "np/text_options.hpp"

#include <sched.h>

#include <algorithm>
#include <thread>

#include "frame.hpp"

namespace quorin::np {
namespace {

using frame::owned;

int cpu_count() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

// An option's int (a bool is refused): its value, and whether it lies beyond a long long (the
// sign of `overflow`, as CPython reports it). False with an exception when it is none.
bool read_int(const char* function, const char* option, PyObject* value, long long& n,
              int& overflow) {
    if (!PyLong_Check(value) || PyBool_Check(value)) {
        PyErr_Format(PyExc_TypeError, "quorin_np.%s: %s must be an int, not %s", function, option,
                     Py_TYPE(value)->tp_name);
        return false;
    }
    n = PyLong_AsLongLongAndOverflow(value, &overflow);
    return !(n == -1 && PyErr_Occurred());
}

// SciPy's convention: a positive count of threads, or a negative one counted back from every
// core (-1 for all of them, -2 for all but one, ...).
bool read_workers(const char* function, PyObject* value, int& out) {
    int overflow = 0;
    long long n;
    if (!read_int(function, "workers", value, n, overflow)) return false;
    long long cores = cpu_count();
    if (overflow == 0 && n > 0) {
        out = static_cast<int>(std::min<long long>(n, 1024));
        return true;
    }
    if (overflow == 0 && n < 0 && n >= -cores) {
        out = static_cast<int>(cores + 1 + n);
        return true;
    }
    PyErr_Format(PyExc_ValueError,
                 "quorin_np.%s: workers must be a number of threads, or from -1 (every core) to "
                 "-%lld (one), not %S",
                 function, cores, value);
    return false;
}

// A count of 0 or more; one beyond any length (up to 2^64 - 1, and more) pairs nothing.
bool read_min_loop(const char* function, PyObject* value, std::uint64_t& out) {
    int overflow = 0;
    long long n;
    if (!read_int(function, "min_loop", value, n, overflow)) return false;
    if (overflow < 0 || (overflow == 0 && n < 0)) {
        PyErr_Format(PyExc_ValueError, "quorin_np.%s: min_loop must be 0 or more, not %S",
                     function, value);
        return false;
    }
    out = overflow > 0 ? UINT64_MAX : static_cast<std::uint64_t>(n);
    return true;
}

}  // namespace

bool take_options(const char* function, std::span<const Option> offered, PyObject* const* args,
                  Py_ssize_t nargs, PyObject* kwnames, PyObject** kept_args, PyObject*& kept_names,
                  Options& values, PyObject*& given) {
    kept_names = kwnames ? Py_NewRef(kwnames) : nullptr;
    given = nullptr;
    if (kwnames == nullptr || offered.empty()) return true;
    Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
    owned names(PyList_New(0));
    owned options(PyDict_New());
    if (!names || !options) return false;
    for (Py_ssize_t i = 0; i < nargs; ++i) kept_args[i] = args[i];
    Py_ssize_t kept = nargs;
    for (Py_ssize_t k = 0; k < nkw; ++k) {
        PyObject* name = PyTuple_GET_ITEM(kwnames, k);
        PyObject* value = args[nargs + k];
        const OptionSpec* offered_option = nullptr;
        for (const OptionSpec& s : kOptionSpecs)
            if (std::find(offered.begin(), offered.end(), s.option) != offered.end() &&
                PyUnicode_CompareWithASCIIString(name, s.name) == 0)
                offered_option = &s;
        if (offered_option == nullptr) {
            if (PyList_Append(names.p, name) < 0) return false;
            kept_args[kept++] = value;
            continue;
        }
        switch (offered_option->option) {
            case Option::workers:
                if (!read_workers(function, value, values.workers)) return false;
                break;
            case Option::min_loop:
                if (!read_min_loop(function, value, values.min_loop)) return false;
                break;
        }
        if (PyDict_SetItem(options.p, name, value) < 0) return false;
    }
    if (PyDict_GET_SIZE(options.p) == 0) return true;
    Py_CLEAR(kept_names);
    if (PyList_GET_SIZE(names.p) > 0) {
        kept_names = PyList_AsTuple(names.p);
        if (kept_names == nullptr) return false;
    }
    given = options.release();
    return true;
}

}  // namespace quorin::np
