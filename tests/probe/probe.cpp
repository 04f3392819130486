// A test-only module built from the real call frame with cores that misbehave on purpose, to
// check what no registered function can reach: escaped C++ exceptions and every argument kind
// in one place. Built by tests/test_frame_probe.py; never installed.
#include <new>
#include <stdexcept>

#include "frame.hpp"
#include "numeric.hpp"

namespace probe {

using namespace quorin;

double throws_runtime_error(double) { throw std::runtime_error("broken invariant: probe"); }
double throws_bad_alloc(double) { throw std::bad_alloc(); }
double throws_int(double) { throw 42; }
Result<double> fails(double x) {
    if (x < 0.0) return fail(std::string("Probe: owned message ") + format_fixed8(x));
    return fail("Probe: literal message");
}
std::array<double, 4> kinds(double r, std::uint32_t c32, std::uint64_t c64, std::string_view t) {
    return {r, static_cast<double>(c32), static_cast<double>(c64), static_cast<double>(t.size())};
}
std::array<double, 3> lists(List<double> xs, List<Triple> ts) {
    return {sum(xs), static_cast<double>(ts.size()), ts.empty() ? 0.0 : ts[ts.size() - 1][2]};
}
std::uint64_t defaults(double a, double b, double c) { return static_cast<std::uint64_t>(a + b * 10 + c * 100); }

constexpr Row rows[] = {
    def<"throws_runtime_error", "(x)", throws_runtime_error>,
    def<"throws_bad_alloc", "(x)", throws_bad_alloc>,
    def<"throws_int", "(x)", throws_int>,
    def<"fails", "(x)", fails>,
    def<"kinds", "(r, c32, c64, t)", kinds>,
    def<"lists", "(xs, ts)", lists>,
    def<"defaults", "(a, b=2, c=0.5)", defaults>,
};

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, "_quorin_probe", nullptr, -1, nullptr,
                          nullptr, nullptr, nullptr, nullptr};

}  // namespace probe

PyMODINIT_FUNC PyInit__quorin_probe() {
    PyObject* m = PyModule_Create(&probe::module_def);
    if (m == nullptr) return nullptr;
    for (const quorin::Row& row : probe::rows) {
        quorin::Signature& sig = *row.signature;
        for (int i = 0; i < sig.nparams; ++i) sig.interned[i] = PyUnicode_InternFromString(sig.params[i]);
        auto* method = new PyMethodDef{row.name, reinterpret_cast<PyCFunction>(
                                                     reinterpret_cast<void (*)()>(row.entry)),
                                       METH_FASTCALL | METH_KEYWORDS, row.doc};
        PyObject* f = PyCMethod_New(method, m, nullptr, nullptr);
        if (f == nullptr || PyModule_AddObject(m, row.name, f) < 0) {
            Py_XDECREF(f);
            Py_DECREF(m);
            return nullptr;
        }
    }
    return m;
}
