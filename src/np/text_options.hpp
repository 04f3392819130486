// The keyword-only options of quorin_np's functions over texts, given after the core's own
// parameters: read once per call, before the elements.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <span>

namespace quorin::np {

enum class Option { workers };

// An option as the function's text signature shows it, and its default.
struct OptionSpec {
    Option option;
    const char* name;
    const char* shown;  // "workers=1"
};

inline constexpr OptionSpec kOptionSpecs[] = {
    {Option::workers, "workers", "workers=1"},
};

// The values of one call.
struct Options {
    int workers = 1;  // threads that compute, the calling one among them
};

// Moves the options that `offered` names out of a vector call: `args` and `kwnames` become the
// call without them (kept_args holds room for nargs plus every keyword), `given` maps each option
// given to its value (a new dict, or null when none was given). False with an exception when a
// value is refused.
bool take_options(const char* function, std::span<const Option> offered, PyObject* const* args,
                  Py_ssize_t nargs, PyObject* kwnames, PyObject** kept_args, PyObject*& kept_names,
                  Options& values, PyObject*& given);

}  // namespace quorin::np
