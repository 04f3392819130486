// Nucleotide composition, positional identity and Shannon entropy.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "error/quorin_error.hpp"
#include "numeric.hpp"
#include "sequence/scan.hpp"
#include "sequence/utf8.hpp"

namespace quorin::sequence {

// Fraction of the characters G, C, g and c over the byte length of the text. In UTF-8 every
// byte below 0x80 is a whole character (lead and continuation bytes of longer sequences are all
// 0x80 and above), so counting those four bytes counts exactly those four characters without
// decoding; the denominator is the byte length, so a non-ASCII letter weighs two to four.
inline Result<double> gc_content(std::string_view sequence) {
    if (sequence.size() == 0)
        return fail("Quorin.GCContent: sequence must not be empty (total > 0 precondition)");
    std::size_t gc = scan::gc_bytes(reinterpret_cast<const unsigned char*>(sequence.data()),
                                    sequence.size());
    return static_cast<double>(gc) / static_cast<double>(sequence.size());
}

// Characters paired by position (no alignment), counted where equal, over the longer byte
// length. Pairing stops with the shorter text; the rest of the longer one counts as mismatches
// through the denominator.
inline Result<double> sequence_identity(std::string_view seq1, std::string_view seq2) {
    if (seq1.size() == 0 || seq2.size() == 0)
        return fail("Quorin.SequenceIdentity: sequences must not be empty");
    utf8::Reader a(seq1), b(seq2);
    std::size_t matches = 0;
    constexpr std::size_t kBlock = 64;
    while (!a.done() && !b.done()) {
        // Where both texts are ASCII, byte k pairs with byte k: compared in vector lanes.
        std::size_t common = std::min(a.remaining(), b.remaining());
        std::size_t run = scan::ascii_matches(a.data(), b.data(), common, matches);
        a.skip(run);
        b.skip(run);
        if (run == common) break;
        // Otherwise one character at a time, for a block's worth of the first text.
        for (std::size_t start = a.remaining(); !a.done() && !b.done() && start - a.remaining() < kBlock;) {
            unsigned char x = a.peek(), y = b.peek();
            if ((x | y) < 0x80) {  // both ASCII: one byte is one character
                matches += x == y;
                a.skip_byte();
                b.skip_byte();
            } else {
                matches += a.next() == b.next();
            }
        }
    }
    std::size_t longer = std::max(seq1.size(), seq2.size());
    return static_cast<double>(matches) / static_cast<double>(longer);
}

// Binary entropy in nats. The range check is a closed interval, so NaN is refused.
inline Result<double> shannon_entropy(double p) {
    if (p < 0.0 || std::isnan(p)) return fail("Quorin.ShannonEntropy: p must be in [0, 1]");
    if (p > 1.0) return fail("Quorin.ShannonEntropy: p must be in [0, 1]");
    double a = p <= 0.0 ? 0.0 : std::log(p) * p;
    double q = 1.0 - p;
    double b = q <= 0.0 ? 0.0 : std::log(q) * q;
    double h = -(a + b);
    return h > 0.0 ? h : 0.0;
}

// Entropy of a distribution in nats, over the probabilities as given (no normalisation).
inline Result<double> shannon_entropy_dist(List<double> probabilities) {
    if (probabilities.empty())
        return fail("Quorin.ShannonEntropy: probabilities must not be empty");
    for (double p : probabilities)
        if (p < 0.0) return fail("Quorin.ShannonEntropy: all probabilities must be non-negative");
    double s = sum(probabilities);
    // Inclusive tolerance; a NaN sum compares false and passes.
    if (std::fabs(s - 1.0) > 1e-6)
        return fail("Quorin.ShannonEntropy: probabilities must sum to 1.0 (got " +
                    format_fixed8(s) + ")");
    double h = -0.0;
    for (double p : probabilities)
        if (p > 0.0) h = h - std::log(p) * p;
    return h > 0.0 ? h : 0.0;
}

}  // namespace quorin::sequence
