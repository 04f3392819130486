// The keyword-only options of quorin_np's functions over texts, given after the core's own
// parameters: read once per call, before the elements.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>
#include <span>

namespace quorin::np {

enum class Option { workers, min_loop };

// An option as the function's text signature shows it, and its default.
struct OptionSpec {
    Option option;
    const char* name;
    const char* shown;  // "workers=1"
};

inline constexpr OptionSpec kOptionSpecs[] = {
    {Option::min_loop, "min_loop", "min_loop=0"},
    {Option::workers, "workers", "workers=1"},
};

// The values of one call.
struct Options {
    int workers = 1;  // threads that compute, the calling one among them
    std::uint64_t min_loop = 0;  // fewest bases a pair encloses; fed to the fold's core

    // The value an option feeds to a core's per-call parameter.
    std::uint64_t fed(Option o) const {
        return o == Option::min_loop ? min_loop : static_cast<std::uint64_t>(workers);
    }
};

// Moves the options that `offered` names out of a vector call: `args` and `kwnames` become the
// call without them (kept_args holds room for nargs plus every keyword), `given` maps each option
// given to its value (a new dict, or null when none was given). False with an exception when a
// value is refused.
bool take_options(const char* function, std::span<const Option> offered, PyObject* const* args,
                  Py_ssize_t nargs, PyObject* kwnames, PyObject** kept_args, PyObject*& kept_names,
                  Options& values, PyObject*& given);

}  // namespace quorin::np
