// The call frame shared by every exported function: a registration row is derived from a
// contract core's C++ signature and its text signature, and the entry point binds the Python
// arguments, converts each one by the type of the core's parameter, runs the core and converts
// its outcome. Only the thin per-function part is a template; binding, the slow conversions
// and every message live out of line in frame.cpp.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "array/form.hpp"
#include "error/quorin_error.hpp"
#include "numeric.hpp"
#include "signature.hpp"

namespace quorin {

// What binding and the error messages need to know of one function.
struct Signature {
    const char* name;
    const char* const* params;  // UTF-8 names in order
    PyObject** interned;        // the same names as interned str, filled at registration
    const double* defaults;     // values of the optional (trailing, real) parameters
    int nparams;
    int nrequired;
};

using EntryPoint = PyObject* (*)(PyObject*, PyObject* const*, Py_ssize_t, PyObject*);

// One row of the registration table.
struct Row {
    const char* name;
    const char* doc;
    EntryPoint entry;
    Signature* signature;
    const array::Form* array;  // how the core runs over arrays, or nullptr
};

namespace frame {

// ---- out of line (frame.cpp) ------------------------------------------------------------

// Fills slots[0..nparams) from the vector call, or raises the binding TypeError.
bool bind(const Signature& s, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
          PyObject** slots);

// Slow conversions, each raising the documented error (remapped to name the parameter).
bool real_slow(PyObject* o, double& out, const Signature& s, int index);
bool count32_slow(PyObject* o, std::uint32_t& out, const Signature& s, int index);
bool count64_slow(PyObject* o, std::uint64_t& out, const Signature& s, int index);
bool text_slow(PyObject* o, std::string_view& out, const Signature& s, int index);
bool real_list(PyObject* o, std::vector<double>& out, const Signature& s, int index);
bool triple_list(PyObject* o, std::vector<Triple>& out, const Signature& s, int index);

// Thrown by a binding whose own interpreter call has already raised the exception that ends
// the call (a signal handler's KeyboardInterrupt, say): the entry point returns null and leaves
// that exception pending as it is.
struct python_error_already_set {};

// Outcomes.
PyObject* raise(const QuorinError& e);
PyObject* raise_escaped_exception() noexcept;  // call inside a catch block
PyObject* raise_internal(const char* message);  // the internal-failure exception
PyObject* fail_without_exception();             // SystemError unless one is already set
PyObject* tuple_of(const double* values, int n);

// ---- argument casters, chosen by the decayed type of the core's parameter ------------------

template <class T>
struct caster {
    static_assert(sizeof(T) == 0,
                  "A contract core parameter must be double, std::uint32_t, std::uint64_t, "
                  "std::string_view, std::span<const double> or std::span<const Triple>.");
};

template <>
struct caster<double> {
    double value;
    bool load(PyObject* o, const Signature& s, int i) {
        if (o == nullptr) {  // an optional parameter left out
            value = s.defaults[i - s.nrequired];
            return true;
        }
        if (PyFloat_CheckExact(o)) {
            value = PyFloat_AS_DOUBLE(o);
            return true;
        }
        return real_slow(o, value, s, i);
    }
    double get() const { return value; }
};

template <>
struct caster<std::uint32_t> {
    std::uint32_t value;
    bool load(PyObject* o, const Signature& s, int i) {
        if (PyLong_CheckExact(o) && PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(o))) {
            Py_ssize_t v = PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(o));
            if (v >= 0 && v <= 0xFFFFFFFF) {
                value = static_cast<std::uint32_t>(v);
                return true;
            }
        }
        return count32_slow(o, value, s, i);
    }
    std::uint32_t get() const { return value; }
};

template <>
struct caster<std::uint64_t> {
    std::uint64_t value;
    bool load(PyObject* o, const Signature& s, int i) {
        if (PyLong_CheckExact(o) && PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(o))) {
            Py_ssize_t v = PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(o));
            if (v >= 0) {
                value = static_cast<std::uint64_t>(v);
                return true;
            }
        }
        return count64_slow(o, value, s, i);
    }
    std::uint64_t get() const { return value; }
};

template <>
struct caster<std::string_view> {
    std::string_view value;
    bool load(PyObject* o, const Signature& s, int i) {
        if (PyUnicode_CheckExact(o) && PyUnicode_IS_COMPACT_ASCII(o)) {  // ASCII is its own UTF-8
            value = std::string_view(static_cast<const char*>(PyUnicode_DATA(o)),
                                     static_cast<std::size_t>(PyUnicode_GET_LENGTH(o)));
            return true;
        }
        return text_slow(o, value, s, i);
    }
    std::string_view get() const { return value; }
};

// A list is converted into a vector owned by the call; the core sees it as a span, so that the
// same core also runs over the rows of an array without a copy.
template <>
struct caster<std::span<const double>> {
    std::vector<double> value;
    bool load(PyObject* o, const Signature& s, int i) { return real_list(o, value, s, i); }
    std::span<const double> get() const { return value; }
};

template <>
struct caster<std::span<const Triple>> {
    std::vector<Triple> value;
    bool load(PyObject* o, const Signature& s, int i) { return triple_list(o, value, s, i); }
    std::span<const Triple> get() const { return value; }
};

// ---- result conversion ---------------------------------------------------------------------

inline PyObject* to_python(double v) { return PyFloat_FromDouble(v); }
inline PyObject* to_python(std::uint64_t v) { return PyLong_FromUnsignedLongLong(v); }
template <std::size_t N>
PyObject* to_python(const std::array<double, N>& v) {
    static_assert(N == 3 || N == 4, "Tuple results hold three or four reals.");
    return tuple_of(v.data(), static_cast<int>(N));
}
template <class T>
PyObject* to_python(const Result<T>& r) {
    if (!r) return raise(r.error());
    return to_python(*r);
}

// ---- the per-function part -----------------------------------------------------------------

template <class F>
struct core_traits;
template <class R, class... A>
struct core_traits<R (*)(A...)> {
    using args = std::tuple<std::remove_cvref_t<A>...>;
    static constexpr std::size_t arity = sizeof...(A);
};
template <class R, class... A>
struct core_traits<R (*)(A...) noexcept> : core_traits<R (*)(A...)> {};

template <auto Core, class Args>
struct invoker;
template <auto Core, class... A>
struct invoker<Core, std::tuple<A...>> {
    template <std::size_t... I>
    static PyObject* call(PyObject* const* slots, const Signature& s, std::index_sequence<I...>) {
        std::tuple<caster<A>...> c;
        // Converted in parameter order; the first failure ends the call.
        if (!(std::get<I>(c).load(slots[I], s, static_cast<int>(I)) && ...)) return nullptr;
        return to_python(Core(std::get<I>(c).get()...));
    }

    static constexpr bool all_real = (std::is_same_v<A, double> && ...);

    template <std::size_t... I>
    static bool exact_floats(PyObject* const* args, std::index_sequence<I...>) {
        return (PyFloat_CheckExact(args[I]) && ...);
    }
    template <std::size_t... I>
    static PyObject* call_exact_floats(PyObject* const* args, std::index_sequence<I...>) {
        return to_python(Core(PyFloat_AS_DOUBLE(args[I])...));
    }
};

template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body>
struct function {
    using traits = core_traits<decltype(Core)>;
    using parsed = parsed_signature<Sig>;
    static constexpr int P = static_cast<int>(parsed::count);
    static_assert(parsed::count == traits::arity,
                  "The text signature must name exactly one parameter per argument of the core.");
    static_assert(P > 0, "Every exported function takes at least one argument.");

    static inline PyObject* interned[P] = {};
    static inline Signature signature{Name.data, parsed::names.data(), interned,
                                      parsed::defaults.data(), P,
                                      static_cast<int>(parsed::required)};

    // The common keyword call, inline: every parameter given exactly once, each keyword name
    // the interned name of a parameter not given by position. Anything else (defaults, a name
    // that is equal but not interned, any error) takes the general binder, which starts over.
    static bool bind_by_interned_names(PyObject* const* args, Py_ssize_t nargs,
                                       PyObject* kwnames, PyObject** bound) {
        if (kwnames == nullptr || nargs + PyTuple_GET_SIZE(kwnames) != P) return false;
        for (int i = 0; i < P; ++i) bound[i] = i < nargs ? args[i] : nullptr;
        for (Py_ssize_t k = 0; k < P - nargs; ++k) {
            PyObject* key = PyTuple_GET_ITEM(kwnames, k);
            int i = static_cast<int>(nargs);
            while (i < P && (interned[i] != key || bound[i] != nullptr)) ++i;
            if (i == P) return false;
            bound[i] = args[nargs + k];
        }
        return true;
    }

    static PyObject* entry(PyObject*, PyObject* const* args, Py_ssize_t nargs,
                           PyObject* kwnames) noexcept {
        try {
            // The call that matters most: every argument by position and an exact float. It
            // is kept small so that it needs no stack frame of its own; the rest is out of line.
            if constexpr (invoker<Core, typename traits::args>::all_real) {
                if (kwnames == nullptr && nargs == P &&
                    invoker<Core, typename traits::args>::exact_floats(args, std::make_index_sequence<P>{}))
                    return invoker<Core, typename traits::args>::call_exact_floats(
                        args, std::make_index_sequence<P>{});
            }
            return general(args, nargs, kwnames);
        } catch (...) {
            return raise_escaped_exception();
        }
    }

    [[gnu::noinline]] static PyObject* general(PyObject* const* args, Py_ssize_t nargs,
                                               PyObject* kwnames) {
        PyObject* const* slots = args;
        PyObject* bound[P];
        if (kwnames != nullptr || nargs != P) {
            if (!bind_by_interned_names(args, nargs, kwnames, bound) &&
                !bind(signature, args, nargs, kwnames, bound))
                return nullptr;
            slots = bound;
        }
        return invoker<Core, typename traits::args>::call(slots, signature,
                                                          std::make_index_sequence<P>{});
    }
};

}  // namespace frame

// A registration row: the Python name, the text signature and the contract core; the body is
// the documentation after the signature header (empty for all but one function).
template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body = "">
inline constexpr Row def{Name.data, doc_text<Name, Sig, Body>::text.data(),
                         &frame::function<Name, Sig, Core, Body>::entry,
                         &frame::function<Name, Sig, Core, Body>::signature,
                         array::form_for<Core, typename frame::core_traits<decltype(Core)>::args,
                                         parsed_signature<Sig>::required,
                                         parsed_signature<Sig>::defaults>()};

}  // namespace quorin
