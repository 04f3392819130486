#include "interrupt.hpp"

#include <Python.h>

namespace quorin::interrupt {
namespace {
thread_local const Check* installed = nullptr;
}

Scope::Scope(const Check& check) noexcept : previous_(installed) { installed = &check; }
Scope::~Scope() { installed = previous_; }

bool requested() noexcept {
    if (installed != nullptr) return installed->stop(installed->context);
    return PyErr_CheckSignals() < 0;
}

}  // namespace quorin::interrupt
