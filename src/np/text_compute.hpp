// Computing a gathered chunk: with the interpreter lock for cheap work, or without it on
// threads of the call's own for folds, with results, refusals, signals and escaping exceptions
// exactly as when one thread computes the elements in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string_view>

#include "np/text_chunk.hpp"

namespace quorin::np {

// A kernel over groups of short texts, for a row whose elements it computes faster together
// (short folds, one per vector lane); the others go through the row's own kernel.
// It takes the call's per-call options as the row's core does.
struct Batch {
    std::size_t width;                      // elements per group at most
    std::size_t fewest;                     // and at least: fewer go one by one
    bool (*takes)(std::string_view) noexcept;
    void (*run)(const std::string_view* texts, std::size_t count, std::uint64_t* counts,
                const std::uint64_t* per_call);
};

struct Work {
    const array::Form* form;
    const Batch* batch;  // or nullptr
    Mode mode;
    char* out;           // the result's elements (8 bytes, or a Held each), C order
    const std::uint64_t* per_call;  // the values of the core's per-call options, in order

    // Element i of the result.
    char* out_at(npy_intp i) const {
        return out + i * (form->yields == array::Yields::text || form->yields == array::Yields::pairs
                              ? static_cast<npy_intp>(sizeof(array::Held))
                              : 8);
    }
};

// With the lock: the chunk's texts, in order. False when it stopped at a refusal (raise mode).
bool compute_here(const Work& work, const Chunk& chunk, Tally& tally);

// How a computation without the lock ended: its refusals (for the tally, once the lock is
// back) and what stopped it, if anything.
struct Stopped {
    array::Refusals refusals;
    bool at_refusal = false;   // raise mode
    bool interrupted = false;  // the signal check (or Ctrl-C) said stop
    std::int64_t escape_at = -1;
    std::exception_ptr escape;  // thrown while computing element escape_at
};

// Without the lock, on `workers` threads (the calling one among them), kept from chunk to chunk.
class Folding {
public:
    explicit Folding(int workers);
    ~Folding();
    Folding(const Folding&) = delete;
    Folding& operator=(const Folding&) = delete;

    // Call without the lock, with the calling thread's signal check installed; asks it every
    // few milliseconds while it waits for the others.
    Stopped compute(const Work& work, const Chunk& chunk);

private:
    struct Crew;
    std::unique_ptr<Crew> crew_;
};

}  // namespace quorin::np
