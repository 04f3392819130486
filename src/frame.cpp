// The out-of-line half of the call frame: binding, the slow conversions and every message.
// Nothing here runs on the success path of a call with exact floats or small exact ints given
// in parameter order.
#include "frame.hpp"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace quorin::frame {
namespace {

// The pending exception, or SystemError if an API call failed without setting one.
PyObject* take_pending() {
    PyObject* e = PyErr_GetRaisedException();
    if (e == nullptr) {
        PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
        e = PyErr_GetRaisedException();
    }
    return e;
}

// A conversion of parameter `index` failed with an exception pending. A plain TypeError is
// replaced by one that names the parameter and keeps the original's cause; anything else
// (OverflowError, ValueError, UnicodeEncodeError, ...) is raised unchanged.
bool conversion_failed(const Signature& s, int index) {
    owned exc(take_pending());
    if (!exc) return false;
    if (Py_TYPE(exc.p) != reinterpret_cast<PyTypeObject*>(PyExc_TypeError)) {
        PyErr_SetRaisedException(exc.release());
        return false;
    }
    owned text(PyObject_Str(exc.p));
    if (!text) return false;
    owned msg(PyUnicode_FromFormat("argument '%s': %U", s.params[index], text.p));
    if (!msg) return false;
    owned remapped(PyObject_CallOneArg(PyExc_TypeError, msg.p));
    if (!remapped) return false;
    PyException_SetCause(remapped.p, PyException_GetCause(exc.p));  // also suppresses context
    PyErr_SetRaisedException(remapped.release());
    return false;
}

// "'{type}' object cannot be converted to '{target}'", with the type's qualified name.
bool cannot_convert(PyObject* o, const char* target) {
    owned qualname(PyType_GetQualName(Py_TYPE(o)));
    if (qualname) {
        PyErr_Format(PyExc_TypeError, "'%U' object cannot be converted to '%s'", qualname.p, target);
    } else {
        PyErr_Clear();
        PyErr_Format(PyExc_TypeError,
                     "'<failed to extract type name>' object cannot be converted to '%s'", target);
    }
    return false;
}

bool load_real(PyObject* o, double& out) {
    if (PyFloat_CheckExact(o)) {
        out = PyFloat_AS_DOUBLE(o);
        return true;
    }
    double v = PyFloat_AsDouble(o);
    if (v == -1.0 && PyErr_Occurred()) return false;
    out = v;
    return true;
}

bool load_triple(PyObject* o, Triple& out) {
    if (!PyTuple_Check(o)) return cannot_convert(o, "PyTuple");
    Py_ssize_t n = PyTuple_GET_SIZE(o);
    if (n != 3) {
        PyErr_Format(PyExc_ValueError, "expected tuple of length 3, but got tuple of length %zd", n);
        return false;
    }
    for (int k = 0; k < 3; ++k)
        if (!load_real(PyTuple_GET_ITEM(o, k), out[k])) return false;
    return true;
}

// A sequence that reports its length but is not a list or tuple may lie about it; reserve no
// more than this up front and let the vector grow as elements actually arrive.
constexpr Py_ssize_t kUntrustedReserve = 1 << 16;

template <class T, class Load>
bool load_sequence(PyObject* o, std::vector<T>& out, const Signature& s, int index, Load load) {
    if (PyUnicode_Check(o)) {
        PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
        return conversion_failed(s, index);
    }
    if (!PySequence_Check(o)) {
        cannot_convert(o, "Sequence");
        return conversion_failed(s, index);
    }
    // Exact lists and tuples are walked by index, exactly as their iterators would walk them
    // (a list is re-measured at every step, since converting an element may run code that
    // mutates it); each element is held while it converts.
    if (PyList_CheckExact(o) || PyTuple_CheckExact(o)) {
        bool is_list = PyList_CheckExact(o);
        out.reserve(static_cast<std::size_t>(Py_SIZE(o)));
        for (Py_ssize_t k = 0; k < (is_list ? PyList_GET_SIZE(o) : PyTuple_GET_SIZE(o)); ++k) {
            owned item(Py_NewRef(is_list ? PyList_GET_ITEM(o, k) : PyTuple_GET_ITEM(o, k)));
            T value;
            if (!load(item.p, value)) return conversion_failed(s, index);
            out.push_back(value);
        }
        return true;
    }
    Py_ssize_t n = PySequence_Size(o);
    if (n < 0) {
        PyErr_Clear();
        n = 0;
    }
    out.reserve(static_cast<std::size_t>(std::min(n, kUntrustedReserve)));
    owned it(PyObject_GetIter(o));
    if (!it) return conversion_failed(s, index);
    while (true) {
        owned item(PyIter_Next(it.p));
        if (!item) break;
        T value;
        if (!load(item.p, value)) return conversion_failed(s, index);
        out.push_back(value);
    }
    if (PyErr_Occurred()) return conversion_failed(s, index);
    return true;
}

// Objects whose iteration is known to yield exactly the float64 values of their buffer, in
// order, without running any code that could change them: a memoryview, an array.array and a
// NumPy array, each of its exact type (a subclass may iterate as it pleases). Python code can
// only make mutable types, so the immutable flag keeps a class that merely borrows one of
// those names out; NumPy is recognised without being imported.
bool iterates_as_its_buffer(PyTypeObject* type) {
    if (type == &PyMemoryView_Type) return true;
    if (!PyType_HasFeature(type, Py_TPFLAGS_IMMUTABLETYPE)) return false;
    return std::strcmp(type->tp_name, "numpy.ndarray") == 0 ||
           std::strcmp(type->tp_name, "array.array") == 0;
}

// Reads a list of reals straight from the buffer of such an object when the buffer holds one
// dimension of contiguous native float64 values (format "d"), exactly what iterating it would
// convert, element by element. Returns false, with nothing pending, for any other buffer (byte
// swapped, strided, of another format or dimension, released, refused): the caller then
// iterates, which reproduces every value and every error of that path.
bool read_float64_buffer(PyObject* o, std::vector<double>& out) {
    if (!iterates_as_its_buffer(Py_TYPE(o))) return false;
    struct held_view : Py_buffer {
        ~held_view() { PyBuffer_Release(this); }
    };
    held_view view;
    if (PyObject_GetBuffer(o, &view, PyBUF_RECORDS_RO) < 0) {
        PyErr_Clear();
        view.obj = nullptr;  // nothing to release
        return false;
    }
    constexpr auto size = static_cast<Py_ssize_t>(sizeof(double));
    if (view.ndim != 1 || view.itemsize != size || view.format == nullptr ||
        std::strcmp(view.format, "d") != 0)
        return false;
    const Py_ssize_t n = view.shape[0];
    if (n > 1 && view.strides != nullptr && view.strides[0] != size) return false;
    out.resize(static_cast<std::size_t>(n));
    if (n > 0) std::memcpy(out.data(), view.buf, static_cast<std::size_t>(n) * sizeof(double));
    return true;
}

PyObject* internal_error_type() {
    static PyObject* type = nullptr;  // created once per process, never released
    if (type == nullptr)
        type = PyErr_NewExceptionWithDoc(
            "quorin.InternalError",
            "A broken internal invariant inside quorin. Derived from BaseException so that an "
            "ordinary `except Exception` does not swallow it; it is never raised for any input.",
            PyExc_BaseException, nullptr);
    return type;
}

// Index of the parameter named by `key`, or -1. Interned pointers are compared first, since
// keyword names from Python source are interned; then the UTF-8 bytes.
int find_param(const Signature& s, PyObject* key) {
    for (int i = 0; i < s.nparams; ++i)
        if (s.interned[i] == key) return i;
    Py_ssize_t len;
    const char* utf8 = PyUnicode_Check(key) ? PyUnicode_AsUTF8AndSize(key, &len) : nullptr;
    if (utf8 == nullptr) {
        PyErr_Clear();
        return -1;
    }
    for (int i = 0; i < s.nparams; ++i)
        if (std::strlen(s.params[i]) == static_cast<std::size_t>(len) &&
            std::memcmp(s.params[i], utf8, static_cast<std::size_t>(len)) == 0)
            return i;
    return -1;
}

// 'a'  /  'a' and 'b'  /  'a', 'b', and 'c'
std::string name_list(const std::vector<const char*>& names) {
    std::string out;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (k > 0) {
            if (names.size() > 2) out += ",";
            out += (k + 1 == names.size()) ? " and " : " ";
        }
        out += "'";
        out += names[k];
        out += "'";
    }
    return out;
}

}  // namespace

bool bind(const Signature& s, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
          PyObject** slots) {
    const int p = s.nparams;
    if (nargs > p) {
        const char* verb = nargs == 1 ? "was" : "were";
        if (s.nrequired == p)
            PyErr_Format(PyExc_TypeError, "%s() takes %d positional arguments but %zd %s given",
                         s.name, p, nargs, verb);
        else
            PyErr_Format(PyExc_TypeError,
                         "%s() takes from %d to %d positional arguments but %zd %s given", s.name,
                         s.nrequired, p, nargs, verb);
        return false;
    }
    for (int i = 0; i < p; ++i) slots[i] = i < nargs ? args[i] : nullptr;
    if (kwnames != nullptr) {
        Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
        for (Py_ssize_t k = 0; k < nkw; ++k) {
            PyObject* key = PyTuple_GET_ITEM(kwnames, k);
            int i = find_param(s, key);
            if (i < 0) {
                PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%S'",
                             s.name, key);
                return false;
            }
            if (slots[i] != nullptr) {
                PyErr_Format(PyExc_TypeError, "%s() got multiple values for argument '%s'",
                             s.name, s.params[i]);
                return false;
            }
            slots[i] = args[nargs + k];
        }
    }
    if (nargs < s.nrequired) {
        std::vector<const char*> missing;
        for (int i = 0; i < s.nrequired; ++i)
            if (slots[i] == nullptr) missing.push_back(s.params[i]);
        if (!missing.empty()) {
            PyErr_Format(PyExc_TypeError, "%s() missing %zu required positional %s: %s", s.name,
                         missing.size(), missing.size() == 1 ? "argument" : "arguments",
                         name_list(missing).c_str());
            return false;
        }
    }
    return true;
}

bool real_slow(PyObject* o, double& out, const Signature& s, int index) {
    // An exact int that fits a machine word is converted in hardware, rounding to nearest with
    // ties to even exactly as the interpreter's own int-to-float conversion does above 2^53,
    // without the temporary float that PyFloat_AsDouble would make. Wider ones take that path.
    if (PyLong_CheckExact(o)) {
        int overflow;
        long long v = PyLong_AsLongLongAndOverflow(o, &overflow);
        if (overflow == 0) {
            if (v == -1 && PyErr_Occurred()) return conversion_failed(s, index);
            out = static_cast<double>(v);
            return true;
        }
    }
    return load_real(o, out) || conversion_failed(s, index);
}

bool count32_slow(PyObject* o, std::uint32_t& out, const Signature& s, int index) {
    long v = PyLong_AsLong(o);
    if (v == -1 && PyErr_Occurred()) return conversion_failed(s, index);
    if (v < 0 || v > 0xFFFFFFFFL) {
        PyErr_SetString(PyExc_OverflowError, "out of range integral type conversion attempted");
        return false;
    }
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool count64_slow(PyObject* o, std::uint64_t& out, const Signature& s, int index) {
    unsigned long long v;
    if (PyLong_Check(o)) {
        v = PyLong_AsUnsignedLongLong(o);
    } else {
        owned as_int(PyNumber_Index(o));
        if (!as_int) return conversion_failed(s, index);
        v = PyLong_AsUnsignedLongLong(as_int.p);
    }
    if (v == static_cast<unsigned long long>(-1) && PyErr_Occurred())
        return conversion_failed(s, index);
    out = v;
    return true;
}

bool text_slow(PyObject* o, std::string_view& out, const Signature& s, int index) {
    if (!PyUnicode_Check(o)) {
        cannot_convert(o, "PyString");
        return conversion_failed(s, index);
    }
    Py_ssize_t len;
    const char* utf8 = PyUnicode_AsUTF8AndSize(o, &len);
    if (utf8 == nullptr) return conversion_failed(s, index);
    out = std::string_view(utf8, static_cast<std::size_t>(len));
    return true;
}

bool real_list(PyObject* o, std::vector<double>& out, const Signature& s, int index) {
    return read_float64_buffer(o, out) || load_sequence(o, out, s, index, load_real);
}

bool triple_list(PyObject* o, std::vector<Triple>& out, const Signature& s, int index) {
    return load_sequence(o, out, s, index, load_triple);
}

PyObject* raise(const QuorinError& e) {
    std::string_view m = e.message();
    owned msg(PyUnicode_FromStringAndSize(m.data(), static_cast<Py_ssize_t>(m.size())));
    if (msg) PyErr_SetObject(PyExc_ValueError, msg.p);
    return nullptr;
}

PyObject* raise_internal(const char* message) {
    PyObject* type = internal_error_type();
    if (type != nullptr) PyErr_SetString(type, message);
    return nullptr;
}

PyObject* raise_escaped_exception() noexcept {
    try {
        try {
            throw;
        } catch (const python_error_already_set&) {
            fail_without_exception();
        } catch (const std::bad_alloc&) {
            PyErr_NoMemory();
        } catch (const std::exception& e) {
            raise_internal(e.what());
        } catch (...) {
            raise_internal("internal failure without a message");
        }
    } catch (...) {
        Py_FatalError("uncaught panic at ffi boundary");
    }
    return nullptr;
}

PyObject* fail_without_exception() {
    if (!PyErr_Occurred())
        PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
    return nullptr;
}

PyObject* tuple_of(const double* values, int n) noexcept {
    owned items[4];
    for (int k = 0; k < n; ++k) {
        items[k].p = PyFloat_FromDouble(values[k]);
        if (!items[k]) return fail_without_exception();
    }
    PyObject* t = PyTuple_New(n);
    if (t == nullptr) return fail_without_exception();
    for (int k = 0; k < n; ++k) PyTuple_SET_ITEM(t, k, items[k].release());
    return t;
}

}  // namespace quorin::frame
