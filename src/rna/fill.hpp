// Pieces shared by the fills: the pairing rule, zeroed buffers that refuse hopeless sizes, the
// clock that asks the poll now and then, and what a fold asks of a fill beyond the count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
#include <span>

#include "rna/nussinov.hpp"

namespace quorin::rna::detail {

// kPairs[x][y]: base x at the left end of a span may pair with base y at its right end. Code 4
// pads a sequence out to whole tiles and pairs with nothing.
inline constexpr std::uint8_t kPairs[5][5] = {
    {0, 1, 0, 0, 0},  // A-U
    {1, 0, 1, 0, 0},  // U-A, U-G
    {0, 1, 0, 1, 0},  // G-U, G-C
    {0, 0, 1, 0, 0},  // C-G
    {0, 0, 0, 0, 0},
};

// a * b + c, or std::bad_alloc when it does not fit in a size_t: the sizes come from the
// length of a string and must never wrap into a small allocation.
std::size_t checked_size(std::size_t a, std::size_t b, std::size_t c = 0);

// Throws std::bad_alloc when `bytes` exceed the machine's physical memory. Such a table could
// never be filled: without swap the process would be killed part way, with swap it would page
// for days. Refusing up front turns an absurd length into a prompt MemoryError instead.
void refuse_beyond_memory(std::size_t bytes);

// An owned block of memory, either zero-filled or aligned to a cache line. calloc hands large
// blocks over as fresh zero pages from the kernel, so nothing is touched (or committed) until
// the fill reaches it; both kinds fail at once, as std::bad_alloc, when the block is refused.
class Buffer {
public:
    enum Kind { zeroed, aligned };
    Buffer(std::size_t bytes, Kind kind)
        : p_(kind == zeroed ? std::calloc(bytes == 0 ? 1 : bytes, 1)
                            : std::aligned_alloc(64, round_up(bytes))) {
        if (p_ == nullptr) throw std::bad_alloc();
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    ~Buffer() { std::free(p_); }
    template <class T>
    T* as() const noexcept { return static_cast<T*>(p_); }

private:
    static std::size_t round_up(std::size_t bytes) {
        return bytes == 0 ? 64 : checked_size((bytes - 1) / 64 + 1, 64);
    }
    void* p_;
};

// Counts work in units of one candidate split of one span and asks the poll once every
// `budget` units (a few milliseconds of work for the fill that owns the clock).
class PollClock {
public:
    PollClock(Poll poll, std::uint64_t budget) noexcept : poll_(poll), budget_(budget) {}
    // False once the poll has asked to stop.
    bool tick(std::uint64_t units) noexcept {
        if (poll_.stop == nullptr) return true;
        work_ += units;
        if (work_ < budget_) return true;
        work_ = 0;
        return !poll_.stop(poll_.context);
    }

private:
    Poll poll_;
    std::uint64_t budget_;
    std::uint64_t work_ = 0;
};

// What a fold asks of a fill: the minimum hairpin loop (at most the length, so that i + min_loop
// never wraps), and where to trace one optimal structure from the table before the table is
// released (null for the count alone).
struct Request {
    std::size_t min_loop = 0;
    Structure* structure = nullptr;
};

// The widest vector instructions the fills may use: 16-byte vectors (SSE2 on x86-64, NEON and
// the like elsewhere) or, on x86-64 processors that have it, AVX2.
enum class Isa { sse2, avx2 };
Isa best_isa() noexcept;

// The 8-bit row fill (bytes.cpp), for fewer than kBytesUpTo bases, in bytes_scratch_size(n)
// bytes of scratch aligned to a cache line, whatever they hold on entry.
inline constexpr std::size_t kBytesUpTo = 512;
std::size_t bytes_scratch_size(std::size_t n) noexcept;
std::optional<std::uint64_t> fold_bytes(std::span<const std::uint8_t> codes, std::uint8_t* scratch,
                                        Poll poll, Isa isa, const Request& request);

// The tiled SIMD fill is written for x86-64; on every other processor the row fills (which the
// compiler vectorises) serve every length.
#if defined(__x86_64__)
#define QUORIN_TILED_FILL 1
#else
#define QUORIN_TILED_FILL 0
#endif

#if QUORIN_TILED_FILL
// The tiled SIMD fill with 16-bit counts (tiled.cpp); `avx2` picks the 256-bit instructions,
// otherwise SSE2, which every x86-64 has. Needs codes.size() < kWideFrom.
std::optional<std::uint64_t> fold_tiled(std::span<const std::uint8_t> codes, Poll poll, bool avx2,
                                        const Request& request);
#endif

}  // namespace quorin::rna::detail
