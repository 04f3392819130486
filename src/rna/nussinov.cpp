// Encoding, the workspace, the choice of fill, and the plain row-by-row fill that serves the
// 32-bit counts of very long sequences.
#include "rna/nussinov.hpp"

#include <unistd.h>

#include <array>
#include <cstring>
#include <string>

#include "rna/fill.hpp"
#include "rna/trace.hpp"
#include "sequence/utf8.hpp"

namespace quorin::rna {
namespace detail {

std::size_t checked_size(std::size_t a, std::size_t b, std::size_t c) {
    std::size_t product, total;
    if (__builtin_mul_overflow(a, b, &product) || __builtin_add_overflow(product, c, &total))
        throw std::bad_alloc();
    return total;
}

void refuse_beyond_memory(std::size_t bytes) {
    long pages = sysconf(_SC_PHYS_PAGES);
    long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return;  // unknown: leave it to the allocator
    std::size_t physical;
    if (__builtin_mul_overflow(static_cast<std::size_t>(pages), static_cast<std::size_t>(page_size),
                               &physical))
        return;
    if (bytes > physical) throw std::bad_alloc();
}

namespace {

// Polls about every few milliseconds at the speed of the row fill.
constexpr std::uint64_t kRowsPollBudget = std::uint64_t{1} << 23;

// acc[x] = max(acc[x], v + below[x]) for x in [from, to): the splits of row i at one k, for
// every right end at once. Separate rows, so the loop vectorises.
template <class Count>
void relax(Count* __restrict acc, const Count* __restrict below, Count v, std::size_t from,
           std::size_t to) noexcept {
    for (std::size_t x = from; x < to; ++x) {
        Count s = static_cast<Count>(v + below[x]);
        acc[x] = acc[x] > s ? acc[x] : s;
    }
}

// The triangle stored by rows, row i holding gamma(i, j) for j = i..n-1. Rows are finished from
// the last to the first, each from left to right: when gamma(i, j) is final it is the left part
// of a split at k = j for every later right end x, so it is added at once to row j + 1 and
// folded into the rest of row i. Row i starts as a copy of row i + 1 (the split at k = i).
template <class Count>
std::optional<std::uint64_t> fill_rows(std::span<const std::uint8_t> code, Poll poll,
                                       const Request& request) {
    const std::size_t n = code.size();
    const std::size_t bytes = checked_size(checked_size(n, n + 1) / 2, sizeof(Count));
    refuse_beyond_memory(bytes);
    Buffer table(bytes, Buffer::zeroed);
    Count* base = table.as<Count>();
    // Row i, indexed by the right end j (only j >= i is stored).
    auto row = [&](std::size_t i) { return base + (i * (n - 1) - i * (i - 1) / 2); };
    PollClock clock(poll, kRowsPollBudget);
    const std::size_t min_loop = request.min_loop;

    for (std::size_t i = n - 1; i-- > 0;) {
        Count* g = row(i);
        const Count* below = row(i + 1);
        for (std::size_t j = i + 1; j < n; ++j) g[j] = below[j];
        const std::uint8_t* left_pairs = kPairs[code[i]];
        for (std::size_t j = i + 1; j < n; ++j) {
            Count inside = j >= i + 2 ? below[j - 1] : Count{0};
            std::uint8_t pairs = j > i + min_loop ? left_pairs[code[j]] : 0;
            Count paired = static_cast<Count>(inside + pairs);
            Count v = g[j] > paired ? g[j] : paired;
            g[j] = v;
            if (j + 1 < n) relax<Count>(g, row(j + 1), v, j + 1, n);
            if (!clock.tick(n - j)) return std::nullopt;
        }
    }
    if (request.structure != nullptr &&
        !trace(code, min_loop, [&](std::size_t i, std::size_t j) { return row(i)[j]; }, clock,
               *request.structure))
        return std::nullopt;
    return n == 1 ? 0 : row(0)[n - 1];
}

Isa best_isa_uncached() noexcept {
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx2") ? Isa::avx2 : Isa::sse2;
#else
    return Isa::sse2;  // the 16-byte vectors: NEON and the like
#endif
}

// The tiled fill where it is built; the 16-bit row fill on other processors.
std::optional<std::uint64_t> fill_tiled(std::span<const std::uint8_t> codes, Poll poll, bool avx2,
                                        const Request& request) {
#if QUORIN_TILED_FILL
    return fold_tiled(codes, poll, avx2, request);
#else
    (void)avx2;
    return fill_rows<std::uint16_t>(codes, poll, request);
#endif
}

constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::array<std::uint8_t, 256> kCodes = [] {
    std::array<std::uint8_t, 256> t{};
    t.fill(kInvalid);
    t['A'] = t['a'] = 0;
    t['U'] = t['u'] = t['T'] = t['t'] = 1;
    t['G'] = t['g'] = 2;
    t['C'] = t['c'] = 3;
    return t;
}();

// The functions whose messages the folds give: the contract counts, the structure fold serves
// the functions of the array module that give structures.
constexpr const char* kCountName = "Quorin.RnaNussinov";
constexpr const char* kStructureName = "Quorin.NussinovStructure";

// Writes the code of every base to out[0..size) and returns how many, or returns the error for
// the first character that is not one, under the name of the function that reads it.
Result<std::size_t> encode_into(std::string_view sequence, std::uint8_t* out,
                                const char* name = kCountName) {
    for (std::size_t k = 0; k < sequence.size(); ++k) {
        auto byte = static_cast<unsigned char>(sequence[k]);
        std::uint8_t c = kCodes[byte];
        if (c == kInvalid) {
            // The character itself, all of its UTF-8 bytes.
            std::string_view character = sequence.substr(k, utf8::width(byte));
            return fail(std::string(name) + ": invalid base '" + std::string(character) +
                        "' (alphabet is A,U,G,C; T accepted as U)");
        }
        out[k] = c;
    }
    return sequence.size();
}

// Room for the codes of a sequence short enough for the 8-bit fill, ahead of its scratch.
constexpr std::size_t kShortCodes = kBytesUpTo;

bool stop_requested(void* flag) {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed);
}

}  // namespace

Isa best_isa() noexcept {
    static const Isa isa = best_isa_uncached();
    return isa;
}

}  // namespace detail

Workspace::~Workspace() { std::free(block_); }

std::uint8_t* Workspace::reserve(std::size_t bytes) {
    if (bytes > size_) {
        const std::size_t size = detail::checked_size((bytes - 1) / 64 + 1, 64);
        void* block = std::aligned_alloc(64, size);
        if (block == nullptr) throw std::bad_alloc();
        std::memset(block, 0, size);
        std::free(block_);
        block_ = static_cast<std::uint8_t*>(block);
        size_ = size;
    }
    return block_;
}

Result<std::vector<std::uint8_t>> encode(std::string_view sequence) {
    std::vector<std::uint8_t> codes(sequence.size());
    auto encoded = detail::encode_into(sequence, codes.data());
    if (!encoded) return fail(std::move(encoded.error()));
    return codes;
}

namespace {

// Fewer than two bases: no pair and no table.
std::optional<std::uint64_t> unpaired(std::size_t n, Structure* structure) {
    if (structure != nullptr) {
        structure->brackets.assign(n, '.');
        structure->pairs.clear();
    }
    return 0;
}

// The fold of encoded bases, tracing one optimal structure into `structure` when there is one.
// The 8-bit fill's scratch starts `scratch_from` bytes into the workspace (after the codes, when
// they were encoded there).
std::optional<std::uint64_t> run(std::span<const std::uint8_t> codes, Workspace& workspace,
                                 Poll poll, const FoldOptions& options, Structure* structure,
                                 std::size_t scratch_from = 0) {
    using namespace detail;
    const std::size_t n = codes.size();
    if (n < 2) return unpaired(n, structure);
    const Request request{std::min(options.min_loop, n), structure};
    if (n >= std::min(options.wide_from, kWideFrom))
        return fill_rows<std::uint32_t>(codes, poll, request);
    auto bytes = [&](Isa isa) {
        std::uint8_t* scratch = workspace.reserve(scratch_from + bytes_scratch_size(n)) + scratch_from;
        return fold_bytes(codes, scratch, poll, isa, request);
    };
    switch (options.kernel) {
        case Kernel::rows:
            return fill_rows<std::uint16_t>(codes, poll, request);
        case Kernel::tiled_sse2:
            return fill_tiled(codes, poll, false, request);
        case Kernel::tiled_avx2:
            return fill_tiled(codes, poll, best_isa() == Isa::avx2, request);
        case Kernel::bytes_sse2:
        case Kernel::bytes_avx2:
            if (n >= kBytesUpTo) return fill_rows<std::uint16_t>(codes, poll, request);
            return bytes(options.kernel == Kernel::bytes_sse2 ? Isa::sse2 : best_isa());
        case Kernel::automatic:
            break;
    }
    // Wherever its counts fit, the 8-bit row fill beats the tiled one: measured here it takes
    // under a third of the time at 200 bases and about three fifths at 500.
    if (n < kBytesUpTo) return bytes(best_isa());
    return fill_tiled(codes, poll, best_isa() == Isa::avx2, request);
}

// The fold of a sequence: a short one is encoded into the workspace, ahead of the fill's
// scratch, so that folding many allocates nothing.
std::optional<Result<std::uint64_t>> run(std::string_view sequence, Workspace& workspace,
                                         Poll poll, const FoldOptions& options,
                                         Structure* structure) {
    using namespace detail;
    const std::size_t n = sequence.size();
    const char* name = structure != nullptr ? kStructureName : kCountName;
    if (n < kBytesUpTo) {
        std::uint8_t* block = workspace.reserve(kShortCodes + bytes_scratch_size(n));
        auto encoded = encode_into(sequence, block, name);
        if (!encoded) return fail(std::move(encoded.error()));
        return run({block, n}, workspace, poll, options, structure, kShortCodes);
    }
    std::vector<std::uint8_t> codes(n);
    auto encoded = encode_into(sequence, codes.data(), name);
    if (!encoded) return fail(std::move(encoded.error()));
    return run(codes, workspace, poll, options, structure);
}

Poll poll_of(const std::atomic<bool>& stop) {
    return Poll{detail::stop_requested, const_cast<std::atomic<bool>*>(&stop)};
}

std::optional<Result<Structure>> structure_of(std::string_view sequence, Workspace& workspace,
                                              Poll poll, const FoldOptions& options) {
    Structure structure;
    auto count = run(sequence, workspace, poll, options, &structure);
    if (!count) return std::nullopt;
    if (!*count) return fail(std::move(count->error()));
    return structure;
}

}  // namespace

std::optional<std::uint64_t> fold(std::span<const std::uint8_t> codes, Workspace& workspace,
                                  Poll poll, FoldOptions options) {
    return run(codes, workspace, poll, options, nullptr);
}

std::optional<std::uint64_t> fold(std::span<const std::uint8_t> codes, Poll poll,
                                  FoldOptions options) {
    Workspace workspace;
    return fold(codes, workspace, poll, options);
}

std::optional<Result<std::uint64_t>> fold(std::string_view sequence, Workspace& workspace,
                                          Poll poll, FoldOptions options) {
    return run(sequence, workspace, poll, options, nullptr);
}

std::optional<Result<std::uint64_t>> fold(std::string_view sequence, Workspace& workspace,
                                          const std::atomic<bool>& stop, FoldOptions options) {
    if (stop.load(std::memory_order_relaxed)) return std::nullopt;
    return fold(sequence, workspace, poll_of(stop), options);
}

std::optional<Structure> fold_structure(std::span<const std::uint8_t> codes, Workspace& workspace,
                                        Poll poll, FoldOptions options) {
    Structure structure;
    if (!run(codes, workspace, poll, options, &structure)) return std::nullopt;
    return structure;
}

std::optional<Result<Structure>> fold_structure(std::string_view sequence, Workspace& workspace,
                                                Poll poll, FoldOptions options) {
    return structure_of(sequence, workspace, poll, options);
}

std::optional<Result<Structure>> fold_structure(std::string_view sequence, Workspace& workspace,
                                                const std::atomic<bool>& stop,
                                                FoldOptions options) {
    if (stop.load(std::memory_order_relaxed)) return std::nullopt;
    return structure_of(sequence, workspace, poll_of(stop), options);
}

Result<std::uint64_t> nussinov(std::string_view sequence) {
    Workspace workspace;
    return **fold(sequence, workspace, Poll{});
}

}  // namespace quorin::rna
