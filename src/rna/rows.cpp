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

}  // namespace

constexpr Row kRows[] = {
    def<"nussinov", "(sequence)", nussinov_interruptible,
        "nussinov(sequence) -> int\n"
        "\n"
        "Maximum number of non-crossing canonical base pairs (Nussinov base-pair\n"
        "maximization). Backed by the kernel-verified `nussinov_optimal` theorem in\n"
        "Quorin.RnaNussinov. Raises ``ValueError`` on a non-AUGC(T) character.">,
};
constinit const Rows rows = kRows;

}  // namespace quorin::rna
