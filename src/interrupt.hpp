// Whether a long computation should stop for a signal such as Ctrl-C. A call of quorin holds the
// interpreter lock throughout, so the answer is Python's own: pending signal handlers run, and a
// handler that raises ends the computation with its exception pending. A batch that releases the
// lock installs a check of its own for its thread while it runs.
#pragma once

namespace quorin::interrupt {

struct Check {
    bool (*stop)(void* context);
    void* context;
};

// Makes `check` this thread's answer until the scope ends.
class Scope {
public:
    explicit Scope(const Check& check) noexcept;
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    const Check* previous_;
};

// True when the computation should stop: the installed check says so, or, with none installed
// (the lock held), a signal handler has raised and its exception is pending.
bool requested() noexcept;

}  // namespace quorin::interrupt
