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

// Owns one strong reference; releases it on every path, unwinding included.
struct owned {
    PyObject* p;
    explicit owned(PyObject* o = nullptr) noexcept : p(o) {}
    owned(const owned&) = delete;
    owned& operator=(const owned&) = delete;
    ~owned() { Py_XDECREF(p); }
    PyObject* release() noexcept { return std::exchange(p, nullptr); }
    explicit operator bool() const noexcept { return p != nullptr; }
};

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
PyObject* tuple_of(const double* values, int n) noexcept;

// ---- argument casters, chosen by the decayed type of the core's parameter ------------------

template <class T>
struct caster {
    static_assert(sizeof(T) == 0,
                  "A contract core parameter must be double, std::uint32_t, std::uint64_t, "
                  "std::string_view, List<double> or List<Triple>.");
};

// A real read without calling into the interpreter: an exact float, or an exact int small
// enough to be stored compactly. Converting that word-sized value in hardware rounds to the
// nearest double, ties to even, which is what PyFloat_AsDouble does for an int, so the two agree
// bit for bit. A bool or an int subclass is not exact and keeps the interpreter's conversion.
inline bool read_real_inline(PyObject* o, double& out) {
    if (PyFloat_CheckExact(o)) [[likely]] {
        out = PyFloat_AS_DOUBLE(o);
        return true;
    }
    if (PyLong_CheckExact(o) && PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(o))) {
        out = static_cast<double>(PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(o)));
        return true;
    }
    return false;
}

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

// A list is converted into a vector owned by the call; the core sees it as a List, so that the
// same core also runs over the rows of an array where they lie, without a copy.
template <>
struct caster<List<double>> {
    std::vector<double> value;
    bool load(PyObject* o, const Signature& s, int i) { return real_list(o, value, s, i); }
    List<double> get() const { return List<double>(value); }
};

template <>
struct caster<List<Triple>> {
    std::vector<Triple> value;
    bool load(PyObject* o, const Signature& s, int i) { return triple_list(o, value, s, i); }
    List<Triple> get() const { return List<Triple>(value); }
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

// What a core returns when it succeeds: T for a Result<T>, otherwise its return type itself.
template <class R>
struct success {
    using type = R;
    static constexpr bool can_fail = false;
};
template <class T>
struct success<Result<T>> {
    using type = T;
    static constexpr bool can_fail = true;
};

// ---- the per-function part -----------------------------------------------------------------

template <class F>
struct core_traits;
template <class R, class... A>
struct core_traits<R (*)(A...)> {
    using result = R;
    using args = std::tuple<std::remove_cvref_t<A>...>;
    static constexpr std::size_t arity = sizeof...(A);
};
template <class R, class... A>
struct core_traits<R (*)(A...) noexcept> : core_traits<R (*)(A...)> {};
// A core written once over its value type (a lambda generic in V) takes reals only; as a
// scalar function each of them is a double.
template <class F>
    requires std::is_class_v<F>
struct core_traits<F> : array::generic_core<F> {};

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
};

// The binding description of a function named Name with text signature Sig.
template <fixed_string Name, fixed_string Sig>
struct signature_of {
    using parsed = parsed_signature<Sig>;
    static inline PyObject* interned[parsed::count] = {};
    static inline Signature value{Name.data, parsed::names.data(), interned,
                                  parsed::defaults.data(), static_cast<int>(parsed::count),
                                  static_cast<int>(parsed::required)};
};

template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body>
struct function {
    using traits = core_traits<decltype(Core)>;
    using parsed = parsed_signature<Sig>;
    using invoke = invoker<Core, typename traits::args>;
    static constexpr int P = static_cast<int>(parsed::count);
    static constexpr int R = static_cast<int>(parsed::required);
    static_assert(parsed::count == traits::arity,
                  "The text signature must name exactly one parameter per argument of the core.");
    static_assert(P > 0, "Every exported function takes at least one argument.");

    static constexpr PyObject** interned = signature_of<Name, Sig>::interned;
    static constexpr Signature& signature = signature_of<Name, Sig>::value;

    // How many leading parameters the call fills in order: the positional arguments, then
    // keywords naming the next parameters one after another by their interned names, as a
    // keyword call written in parameter order does. The argument vector is then already in
    // parameter order and needs no binding. -1 for any other keyword call.
    static Py_ssize_t filled_in_order(Py_ssize_t nargs, PyObject* kwnames) {
        if (kwnames == nullptr) [[likely]]
            return nargs;
        Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
        if (nargs + nkw > P) return -1;
        for (Py_ssize_t k = 0; k < nkw; ++k)
            if (PyTuple_GET_ITEM(kwnames, k) != interned[nargs + k]) return -1;
        return nargs + nkw;
    }

    // A keyword call in any other order: every parameter given exactly once, each keyword name
    // the interned name of a parameter not given by position. Anything else (a name that is
    // equal but not interned, any error) takes the general binder, which starts over.
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

    // Parameter I of a call that fills the first n in order: read inline, or its default.
    template <std::size_t I>
    static bool read_inline(PyObject* const* args, Py_ssize_t n, double& out) {
        if constexpr (static_cast<int>(I) >= R) {
            if (static_cast<Py_ssize_t>(I) >= n) {
                out = parsed::defaults[I - R];
                return true;
            }
        }
        return read_real_inline(args[I], out);
    }

    template <std::size_t... I>
    static bool read_all_inline(PyObject* const* args, Py_ssize_t n, double* v,
                                std::index_sequence<I...>) {
        return (read_inline<I>(args, n, v[I]) && ...);
    }

    using success_type = typename success<typename traits::result>::type;

    // Runs the core on values read inline and keeps its value when it succeeds. Anything else
    // (a refusal, an escaping exception) is left to the general path, so that this one holds
    // no error object and needs no stack frame of its own; the result object is made by the
    // caller, whose call to make it can then end the entry point. Flattened, so that a core
    // the compiler would keep out of line for the size of its refusals is inlined here too.
    template <std::size_t... I>
    [[gnu::flatten]] static bool run_inline(const double* v, success_type& out,
                                            std::index_sequence<I...>) noexcept {
        try {
            if constexpr (success<typename traits::result>::can_fail) {
                auto r = Core(v[I]...);
                if (!r) [[unlikely]]
                    return false;
                out = *r;
            } else {
                out = Core(v[I]...);
            }
            return true;
        } catch (...) {
            return false;
        }
    }

    static PyObject* entry(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                           PyObject* kwnames) {
        // The calls that matter most: reals that are exact floats or small exact ints, given in
        // parameter order by position or keyword, trailing defaults left out, and a core that
        // succeeds. Reading the arguments has no effect and a core is a pure function of its
        // values, so on anything else the general path starts over and meets the same
        // outcome; it is out of line to keep this one small. Everything called here is C or
        // noexcept, which lets the last call be a jump.
        if constexpr (invoke::all_real) {
            Py_ssize_t n = filled_in_order(nargs, kwnames);
            double v[P];
            success_type out;
            if (n >= R && n <= P && read_all_inline(args, n, v, std::make_index_sequence<P>{}) &&
                run_inline(v, out, std::make_index_sequence<P>{})) [[likely]]
                return to_python(out);
        }
        return general(self, args, nargs, kwnames);
    }

    // Out of line and left whole (no parameter dropped), so that it takes the entry point's
    // own parameters and jumping here moves no register.
    [[gnu::noipa]] static PyObject* general(PyObject*, PyObject* const* args,
                                           Py_ssize_t nargs, PyObject* kwnames) noexcept {
        try {
            PyObject* const* slots = args;
            PyObject* bound[P];
            Py_ssize_t n = filled_in_order(nargs, kwnames);
            if (n != P) {
                if (n >= R && n < P) {  // trailing defaults left out
                    for (int i = 0; i < P; ++i) bound[i] = i < n ? args[i] : nullptr;
                } else if (!bind_by_interned_names(args, nargs, kwnames, bound) &&
                           !bind(signature, args, nargs, kwnames, bound)) {
                    return nullptr;
                }
                slots = bound;
            }
            return invoke::call(slots, signature, std::make_index_sequence<P>{});
        } catch (...) {
            return raise_escaped_exception();
        }
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

// A contract whose quorin_np function runs another core over arrays: the contract's own
// computation with per-call options (array::PerCall parameters) after its parameters, which
// quorin_np takes by keyword and quorin does not take at all.
template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body, auto ArrayCore>
inline constexpr Row def_with_options{
    Name.data, doc_text<Name, Sig, Body>::text.data(),
    &frame::function<Name, Sig, Core, Body>::entry,
    &frame::function<Name, Sig, Core, Body>::signature,
    array::form_for<ArrayCore, typename frame::core_traits<decltype(ArrayCore)>::args,
                    parsed_signature<Sig>::required, parsed_signature<Sig>::defaults>()};

// A row of quorin_np alone (see array_only in table.hpp): the same as def, but with no entry
// point of quorin's, so that its core may give outcomes quorin has no result kind for.
template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body = "">
inline constexpr Row def_array{Name.data, doc_text<Name, Sig, Body>::text.data(), nullptr,
                               &frame::signature_of<Name, Sig>::value,
                               array::form_for<Core, typename frame::core_traits<decltype(Core)>::args,
                                               parsed_signature<Sig>::required,
                                               parsed_signature<Sig>::defaults>()};

}  // namespace quorin
