// The contract cores and the fold without the interpreter, built for another processor and run
// under emulation by scripts/check-aarch64, and built natively too: the two outputs must match
// line for line. It prints the outcome of every registered core on generated arguments (the
// bits of each float, or the refusal), then the fold's count for generated sequences. It exits 1
// when the fills of this build disagree with each other or, on short sequences, with the
// textbook recursion.
//
//   cores [CALLS-PER-FUNCTION]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rna/nussinov.hpp"
#include "table.hpp"

// The fold's own row calls into the interpreter; the fold is checked directly below.
namespace quorin::rna { const Rows rows{}; }

namespace {

using namespace quorin::rna;

// gamma(0, n-1) straight from the recurrence, for short sequences.
std::uint64_t textbook(const std::vector<std::uint8_t>& c) {
    const std::size_t n = c.size();
    auto pair = [](std::uint8_t x, std::uint8_t y) {
        int s = x * 4 + y;  // A=0 U=1 G=2 C=3: A-U, U-A, U-G, G-U, G-C, C-G
        return s == 1 || s == 4 || s == 6 || s == 9 || s == 11 || s == 14 ? 1 : 0;
    };
    std::vector<std::vector<std::uint64_t>> g(n + 1, std::vector<std::uint64_t>(n + 1, 0));
    for (std::size_t len = 2; len <= n; ++len)
        for (std::size_t i = 0; i + len <= n; ++i) {
            std::size_t j = i + len - 1;
            std::uint64_t best = (len > 2 ? g[i + 1][j - 1] : 0) + pair(c[i], c[j]);
            for (std::size_t k = i; k < j; ++k) best = std::max(best, g[i][k] + g[k + 1][j]);
            g[i][j] = best;
        }
    return n < 2 ? 0 : g[0][n - 1];
}

bool check_fold(const std::string& sequence) {
    auto codes = *encode(sequence);
    const FoldOptions fills[] = {{}, {kWideFrom, Kernel::rows}, {kWideFrom, Kernel::tiled_sse2},
                                 {kWideFrom, Kernel::tiled_avx2}, {kWideFrom, Kernel::bytes_sse2},
                                 {kWideFrom, Kernel::bytes_avx2}, {1, Kernel::automatic}};
    std::uint64_t first = *fold(codes, {}, fills[0]);
    bool ok = true;
    for (const FoldOptions& options : fills) ok = ok && *fold(codes, {}, options) == first;
    if (sequence.size() <= 60) ok = ok && textbook(codes) == first;
    std::printf("fold %zu %llu%s\n", sequence.size(), static_cast<unsigned long long>(first),
                ok ? "" : " FILLS DISAGREE");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 200;
    for (const quorin::Rows* group : quorin::table)
        for (const quorin::Row& row : *group) row.run(row.name, calls);

    quorin::sample::Source source{7};
    bool ok = true;
    for (std::size_t n : {0, 1, 2, 3, 17, 40, 60, 95, 96, 97, 159, 160, 161, 300, 700})
        for (const char* alphabet : {"ACGU", "GC", "AAAGU"}) {
            std::string s;
            for (std::size_t k = 0; k < n; ++k) s += alphabet[source.below(std::strlen(alphabet))];
            ok = check_fold(s) && ok;
        }
    return ok && !quorin::sample::lanes_disagree ? 0 : 1;
}
