// Ctrl-C during a long computation without the interpreter lock. Python handles signals on the
// main thread only, and only with the lock; so a computation on the main thread takes the lock
// now and then, at most every few milliseconds, to run the pending handlers, and one on any
// other thread never does.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <chrono>

namespace quorin::np {

// Whether this thread is the interpreter's main thread (with the lock held).
bool on_main_thread();

// When the next look at pending signals is due: every 10 ms of computing, counted from the
// first question (a short call never reads the clock).
class SignalClock {
public:
    bool due() {
        auto now = std::chrono::steady_clock::now();
        if (last_ == std::chrono::steady_clock::time_point{}) last_ = now;
        if (now - last_ < std::chrono::milliseconds(10)) return false;
        last_ = now;
        return true;
    }

private:
    std::chrono::steady_clock::time_point last_{};
};

// The check of a loop that NumPy calls with or without the lock: false, with the exception of
// a handler that raised pending, when the loop should stop.
class LoopSignals {
public:
    bool keep_going() {
        if (main_ == 0 || !clock_.due()) return true;
        PyGILState_STATE g = PyGILState_Ensure();
        if (main_ < 0) main_ = on_main_thread() ? 1 : 0;
        bool going = main_ == 0 || PyErr_CheckSignals() == 0;
        PyGILState_Release(g);
        return going;
    }

private:
    SignalClock clock_;
    int main_ = -1;  // not known until the first check is due: most loops end before
};

}  // namespace quorin::np
