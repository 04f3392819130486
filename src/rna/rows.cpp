#include "interrupt.hpp"
#include "rna/nussinov.hpp"
#include "table.hpp"

namespace quorin::rna {
namespace {

// Python's pending signals in a call, or the check of a batch that runs without the lock.
bool signal_raised(void*) { return interrupt::requested(); }

// The exported function: the contract, with pending signals handled every few milliseconds of
// the fold so that Ctrl-C interrupts a long one. In a call the fold holds the interpreter lock
// throughout; a handler that raises (KeyboardInterrupt) stops it, and the call ends with that
// exception. A batch of folds runs this same core without the lock and answers the poll itself.
// Each thread keeps the memory of its short folds for the next one.
Result<std::uint64_t> nussinov_interruptible(std::string_view sequence) {
    thread_local Workspace workspace;
    auto count = fold(sequence, workspace, Poll{signal_raised, nullptr});
    if (!count) throw frame::python_error_already_set{};
    return std::move(*count);
}

// The same over arrays, where quorin_np takes a minimum hairpin loop for the whole call.
Result<std::uint64_t> nussinov_with_loop(std::string_view sequence, array::PerCall min_loop) {
    thread_local Workspace workspace;
    auto count = fold(sequence, workspace, Poll{signal_raised, nullptr},
                      FoldOptions{.min_loop = min_loop.value});
    if (!count) throw frame::python_error_already_set{};
    return std::move(*count);
}

// One optimal structure, as quorin_np's functions that give structures present it.
std::optional<Result<Structure>> structure_of(std::string_view sequence, array::PerCall min_loop) {
    thread_local Workspace workspace;
    return fold_structure(sequence, workspace, Poll{signal_raised, nullptr},
                          FoldOptions{.min_loop = min_loop.value});
}

Result<std::string> dot_bracket(std::string_view sequence, array::PerCall min_loop) {
    auto structure = structure_of(sequence, min_loop);
    if (!structure) throw frame::python_error_already_set{};
    if (!*structure) return fail(std::move(structure->error()));
    return std::move((*structure)->brackets);
}

Result<std::vector<BasePair>> base_pairs(std::string_view sequence, array::PerCall min_loop) {
    auto structure = structure_of(sequence, min_loop);
    if (!structure) throw frame::python_error_already_set{};
    if (!*structure) return fail(std::move(structure->error()));
    return std::move((*structure)->pairs);
}

}  // namespace

constexpr Row kRows[] = {
    def_with_options<"nussinov", "(sequence)", nussinov_interruptible,
        "nussinov(sequence) -> int\n"
        "\n"
        "Maximum number of non-crossing canonical base pairs (Nussinov base-pair\n"
        "maximization). Backed by the kernel-verified `nussinov_optimal` theorem in\n"
        "Quorin.RnaNussinov. Raises ``ValueError`` on a non-AUGC(T) character.",
        nussinov_with_loop>,
};
constinit const Rows rows = kRows;

// quorin_np's own: which bases pair, as dot-brackets over collections and as pairs of one.
constexpr Row kStructureRows[] = {
    def_array<"nussinov_structure", "(sequences)", dot_bracket>,
    def_array<"nussinov_pairs", "(sequence)", base_pairs>,
};
constinit const Rows structure_rows = kStructureRows;

}  // namespace quorin::rna
