// quorin's fold as it chose its fill before short sequences had one of their own, built from
// the same sources for bench.py: the 16-bit row fill under 160 bases, the tiled fill from
// there, each fold allocating its codes and table afresh.
// Usage: previous BATCHES < sequences (see many.hpp).
#include <string>

#include "many.hpp"
#include "rna/nussinov.hpp"

int main(int argc, char** argv) {
    using namespace quorin::rna;
    return time_many(
        [](const std::string& s) {
            FoldOptions options;
            options.kernel = s.size() < 160 ? Kernel::rows : Kernel::tiled_avx2;
            return *fold(*encode(s), {}, options);
        },
        argc > 1 ? std::stoi(argv[1]) : 30);
}
