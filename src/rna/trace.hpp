// The traceback: one optimal structure read back from a filled table, whatever its layout. Each
// fill instantiates `trace` with a reader of its own table, gamma(i, j) for i < j < n, and calls
// it before releasing the table.
//
// The rule (see nussinov.hpp) needs only three values per decision, all of the same table:
// base i of span (i, j) is unpaired when gamma(i + 1, j) == gamma(i, j); otherwise it pairs
// with the first k whose pair keeps the count, gamma(i + 1, k - 1) + 1 + gamma(k + 1, j). The
// span inside a pair is read before the span after it, and the spans after pairs wait on a
// stack (the last one pushed lies leftmost), so bases are decided from the 5' end onwards and
// the pairs come out sorted by i.
//
// Work: one lookup per unpaired base, and for each paired base a scan of its span up to its
// partner: at most about n^2 / 2 lookups, reached by a long stem (whose partners lie at the far
// ends of their spans), far below the fill's n^3 / 6.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "rna/fill.hpp"

namespace quorin::rna::detail {

// False when the poll asked to stop (`out` then holds part of a structure). `min_loop` is at
// most n.
template <class Gamma>
bool trace(std::span<const std::uint8_t> code, std::size_t min_loop, const Gamma& gamma,
           PollClock& clock, Structure& out) {
    const std::size_t n = code.size();
    out.brackets.assign(n, '.');
    out.pairs.clear();
    if (n < 2) return true;
    auto g = [&](std::size_t i, std::size_t j) -> std::uint64_t {
        return i < j ? std::uint64_t{gamma(i, j)} : 0;
    };
    struct Span {
        std::size_t i, j;
        std::uint64_t count;
    };
    std::vector<Span> after;
    Span span{0, n - 1, g(0, n - 1)};
    for (;;) {
        auto [i, j, v] = span;
        while (v > 0) {
            const std::uint64_t without_i = g(i + 1, j);
            if (without_i == v) {
                ++i;
                continue;
            }
            const std::uint8_t* partner = kPairs[code[i]];
            std::size_t k = i + 1 + min_loop;
            std::uint64_t inside = 0, rest = 0;
            for (; k <= j; ++k) {
                if (!partner[code[k]]) continue;
                inside = g(i + 1, k - 1);
                rest = k < j ? g(k + 1, j) : 0;
                if (inside + 1 + rest == v) break;
            }
            // A table that a fill got wrong, never a result that looks right.
            if (k > j) throw std::logic_error("nussinov traceback: the table is inconsistent");
            if (!clock.tick(k - i)) return false;
            out.brackets[i] = '(';
            out.brackets[k] = ')';
            out.pairs.push_back({static_cast<std::int64_t>(i), static_cast<std::int64_t>(k)});
            if (rest > 0) after.push_back({k + 1, j, rest});
            j = k - 1;
            ++i;
            v = inside;
        }
        if (after.empty()) return true;
        span = after.back();
        after.pop_back();
    }
}

}  // namespace quorin::rna::detail
