#include "np/signals.hpp"

#include "frame.hpp"

namespace quorin::np {

using frame::owned;

bool on_main_thread() {
    owned threading(PyImport_ImportModule("threading"));
    owned main(threading ? PyObject_CallMethod(threading.p, "main_thread", nullptr) : nullptr);
    owned ident(main ? PyObject_GetAttrString(main.p, "ident") : nullptr);
    if (!ident) {
        PyErr_Clear();
        return true;  // assume the worst: check signals
    }
    return PyLong_AsUnsignedLong(ident.p) == PyThread_get_thread_ident();
}

}  // namespace quorin::np
