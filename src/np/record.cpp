#include "np/record.hpp"

namespace quorin::np {
namespace {
thread_local Record* armed = nullptr;
}

Armed::Armed(Record* record) noexcept : previous_(armed) { armed = record; }
Armed::~Armed() { armed = previous_; }

Record* Armed::claim(PyObject* ufunc) noexcept {
    Record* r = armed;
    if (r == nullptr || r->ufunc != ufunc) return nullptr;
    armed = nullptr;  // a call made while this one runs (by a conversion, say) arms its own
    return r;
}

}  // namespace quorin::np
