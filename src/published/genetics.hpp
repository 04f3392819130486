// Hardy-Weinberg p-values from the three genotype counts of a biallelic locus: Pearson's
// chi-squared test with one degree of freedom, and the exact test conditional on the allele
// counts by the recurrence over heterozygote counts of Wigginton, Cutler and Abecasis (Am J Hum
// Genet 2005), with its mid-p variant.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "error/quorin_error.hpp"
#include "statistics/statistics.hpp"

namespace quorin::published {

using u128 = unsigned __int128;

// Pearson's statistic on counts is the contract's statistic on frequencies times N.
inline Result<std::array<double, 2>> hwe_chi2(std::uint64_t n_aa, std::uint64_t n_ab,
                                              std::uint64_t n_bb) {
    u128 total = (u128{n_ab} + n_aa) + n_bb;
    if (total == 0) return fail("Quorin.HweChi2: total count must be positive");
    auto t = statistics::hardy_weinberg_test(n_aa, n_ab, n_bb);
    if (!t) return fail(std::move(t.error()));
    double chi2 = (*t)[3] * static_cast<double>(total);
    // The upper tail of chi-squared with one degree of freedom.
    return std::array<double, 2>{chi2, std::erfc(std::sqrt(chi2 / 2.0))};
}

namespace exact {

// A sample with the observed allele counts: h heterozygotes, r homozygotes of the rarer allele
// and c of the other (c >= r). Int is double while every count is below 2^53, where it holds
// them exactly and steps of 1 and 2 stay exact; beyond that it is a 128-bit integer, converted
// to double only to form the ratios.
template <class Int>
struct Sample {
    Int h, r, c;

    static double real(Int x) { return static_cast<double>(x); }
    // P(h + 2) / P(h) and P(h - 2) / P(h), from P(h) proportional to 2^h / (h! r! c!).
    double up() const { return ((4.0 * real(r)) * real(c)) / ((real(h) + 1.0) * (real(h) + 2.0)); }
    double down() const {
        return (real(h) * (real(h) - 1.0)) / ((4.0 * (real(r) + 1.0)) * (real(c) + 1.0));
    }
    bool can_go_up() const { return r > 0; }
    bool can_go_down() const { return h >= 2; }
    void go_up() { h += 2, r -= 1, c -= 1; }
    void go_down() { h -= 2, r += 1, c += 1; }
};

struct Tail {
    double p;     // the probability of samples at most as likely as the observed one
    double midp;  // the same with the samples exactly as likely counted half
};

// Probabilities within this relative distance of the observed sample's count as ties with it:
// the recurrence loses a few units in the last place per step, and two samples that are
// exactly as likely (the two sides of a flat mode, say) must not be told apart by that.
inline constexpr double kTie = 1e-9;
// A side is left once what it could still add is below this fraction of the tail found so far:
// the rest cannot change the sums in double precision.
inline constexpr double kNegligible = 0x1p-64;

// The probabilities are taken relative to the mode's, which is 1: no term overflows, and the
// terms fall off on both sides (the distribution is log-concave), so a side is walked only as
// far as its terms still count. The observed sample's probability is found first, by walking
// from the mode to it; the second walk then sums both sides outwards from the mode.
template <class Int>
Tail tail(Sample<Int> observed, Sample<Int> guess) {
    Sample<Int> mode = guess;
    while (mode.can_go_up() && mode.up() > 1.0) mode.go_up();
    while (mode.can_go_down() && mode.down() > 1.0) mode.go_down();

    double t_obs = 1.0;
    for (Sample<Int> s = mode; s.h < observed.h; s.go_up()) t_obs *= s.up();
    for (Sample<Int> s = mode; s.h > observed.h; s.go_down()) t_obs *= s.down();
    const double hi = t_obs * (1.0 + kTie), lo = t_obs * (1.0 - kTie);

    double all = 1.0, tail = 0.0, ties = 0.0;
    auto add = [&](double t) {
        all = all + t;
        if (t <= hi) {
            tail = tail + t;
            if (t >= lo) ties = ties + t;
        }
    };
    if (1.0 <= hi) tail = 1.0, ties = 1.0 >= lo ? 1.0 : 0.0;
    // Past the observed level every later term of a side is in the tail, and with ratios q
    // falling they add less than t q / (1 - q).
    auto negligible = [&](double t, double q) {
        return t <= hi && q < 1.0 && t * q <= (kNegligible * tail) * (1.0 - q);
    };
    double t = 1.0;
    for (Sample<Int> s = mode; s.can_go_up(); s.go_up()) {
        double q = s.up();
        if (negligible(t, q)) break;
        t = t * q;
        add(t);
    }
    t = 1.0;
    for (Sample<Int> s = mode; s.can_go_down(); s.go_down()) {
        double q = s.down();
        if (negligible(t, q)) break;
        t = t * q;
        add(t);
    }
    return {tail / all, (tail - 0.5 * ties) / all};
}

// The observed sample and a start near the mode: the expected heterozygote count given the
// allele counts, rare (2N - rare) / 2N, moved to the parity that rare imposes.
template <class Int>
Tail tail_of(u128 n, u128 rare, u128 h, u128 r) {
    auto sample = [&](u128 hets, u128 rares) {
        return Sample<Int>{static_cast<Int>(hets), static_cast<Int>(rares),
                           static_cast<Int>(n - hets - rares)};
    };
    double nd = static_cast<double>(n), rd = static_cast<double>(rare);
    u128 m = static_cast<u128>((rd * (nd + nd - rd)) / (nd + nd));
    if (m > rare) m = rare;
    if ((m & 1) != (rare & 1)) m = m + 1 <= rare ? m + 1 : m - 1;
    return tail(sample(h, r), sample(m, (rare - m) / 2));
}

// Every count fits: the totals are formed in 128 bits.
inline Tail hwe_tail(std::uint64_t n_aa, std::uint64_t n_ab, std::uint64_t n_bb) {
    u128 n = (u128{n_aa} + n_ab) + n_bb;
    u128 a = 2 * u128{n_aa} + n_ab, b = 2 * u128{n_bb} + n_ab;
    u128 rare = a < b ? a : b;
    u128 r = a < b ? n_aa : n_bb;
    if (n < (u128{1} << 53)) return tail_of<double>(n, rare, n_ab, r);
    return tail_of<u128>(n, rare, n_ab, r);
}

}  // namespace exact

inline Result<double> hwe_exact(std::uint64_t n_aa, std::uint64_t n_ab, std::uint64_t n_bb) {
    if ((u128{n_ab} + n_aa) + n_bb == 0) return fail("Quorin.HweExact: total count must be positive");
    return exact::hwe_tail(n_aa, n_ab, n_bb).p;
}

inline Result<double> hwe_exact_midp(std::uint64_t n_aa, std::uint64_t n_ab, std::uint64_t n_bb) {
    if ((u128{n_ab} + n_aa) + n_bb == 0)
        return fail("Quorin.HweExactMidp: total count must be positive");
    return exact::hwe_tail(n_aa, n_ab, n_bb).midp;
}

}  // namespace quorin::published
