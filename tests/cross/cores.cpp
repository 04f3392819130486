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

#include "rna/lanes.hpp"
#include "rna/nussinov.hpp"
#include "structure/superpose.hpp"
#include "table.hpp"

// The fold's own rows call into the interpreter; the fold is checked directly below.
namespace quorin::rna {
const Rows rows{};
const Rows structure_rows{};
}  // namespace quorin::rna

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
    // With a minimum hairpin loop of 3, every fill and the vector lanes alike.
    std::uint64_t looped = *fold(codes, {}, FoldOptions{.min_loop = 3});
    for (FoldOptions options : fills) {
        options.min_loop = 3;
        ok = ok && *fold(codes, {}, options) == looped;
    }
    if (lanes_take(sequence)) {
        std::string_view one(sequence);
        std::uint64_t lanes[2];
        fold_lanes(&one, 1, &lanes[0]);
        fold_lanes(&one, 1, &lanes[1], 3);
        ok = ok && lanes[0] == first && lanes[1] == looped;
    }
    std::printf("fold %zu %llu %llu%s\n", sequence.size(), static_cast<unsigned long long>(first),
                static_cast<unsigned long long>(looped), ok ? "" : " FILLS DISAGREE");
    return ok;
}

// The superpositions of structures long enough for the moment pass's blocks of eight atoms, packed
// and strided, far apart and nearly identical (the second pass): every processor's kernel must
// give the same bits.
void check_superpositions(quorin::sample::Source& source) {
    using quorin::List;
    using quorin::Triple;
    for (std::size_t n : {8, 9, 23, 100, 1000}) {
        std::vector<Triple> x(n), far(n), near(n);
        std::vector<double> w(n), strided(4 * n);
        for (std::size_t k = 0; k < n; ++k) {
            for (int c = 0; c < 3; ++c) {
                x[k][c] = static_cast<double>(source.below(1 << 20)) / 1024.0 - 512.0;
                far[k][c] = static_cast<double>(source.below(1 << 20)) / 1024.0 - 512.0;
                near[k][c] = x[k][c] + static_cast<double>(source.below(1 << 10)) / 0x1p40;
                strided[4 * k + c] = x[k][c];
            }
            w[k] = static_cast<double>(source.below(4));
        }
        w[0] = 1.0;
        const List<Triple> xs(x), fars(far), nears(near);
        const List<Triple> xs_strided(reinterpret_cast<const char*>(strided.data()), n, {32, 8});
        for (const List<Triple>* y : {&fars, &nears}) {
            std::printf("superposed_rmsd %zu", n);
            quorin::sample::print(quorin::structure::superposed_rmsd(xs, *y));
            quorin::sample::print(quorin::structure::superposed_rmsd(xs_strided, *y));
            quorin::sample::print(quorin::structure::superposed_rmsd_weighted(xs, *y, List<double>(w)));
            quorin::sample::print(quorin::structure::superpose(xs, *y));
            std::printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 200;
    for (const quorin::Rows* group : quorin::table)
        for (const quorin::Row& row : *group) row.run(row.name, calls);
    // Of quorin_np's own, the superpositions: their moment pass has a kernel per processor.
    for (const quorin::Row& row : quorin::structure::rows) row.run(row.name, calls);

    quorin::sample::Source source{7};
    check_superpositions(source);
    bool ok = true;
    for (std::size_t n : {0, 1, 2, 3, 17, 40, 60, 95, 96, 97, 159, 160, 161, 300, 700})
        for (const char* alphabet : {"ACGU", "GC", "AAAGU"}) {
            std::string s;
            for (std::size_t k = 0; k < n; ++k) s += alphabet[source.below(std::strlen(alphabet))];
            ok = check_fold(s) && ok;
        }
    return ok && !quorin::sample::lanes_disagree ? 0 : 1;
}
