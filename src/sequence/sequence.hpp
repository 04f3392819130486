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
#include "sequence/utf8.hpp"

namespace quorin::sequence {

// Fraction of the characters G, C, g and c over the byte length of the text. In UTF-8 every
// byte below 0x80 is a whole character (lead and continuation bytes of longer sequences are all
// 0x80 and above), so counting those four bytes counts exactly those four characters without
// decoding; the denominator is the byte length, so a non-ASCII letter weighs two to four.
inline Result<double> gc_content(std::string_view sequence) {
    if (sequence.size() == 0)
        return fail("Quorin.GCContent: sequence must not be empty (total > 0 precondition)");
    // Setting bit 5 folds exactly G onto g and C onto c (and leaves bytes of 0x80 and above
    // there). Blocks of at most 255 bytes are counted into an 8-bit count, which the compiler
    // keeps in vector lanes of 16 or 32 bytes; for a few hundred bases that is several times
    // faster than a count per byte, and batches of short sequences spend their time here.
    std::size_t gc = 0;
    const char* p = sequence.data();
    for (std::size_t left = sequence.size(); left > 0;) {
        std::size_t block = left < 255 ? left : 255;
        std::uint8_t count = 0;
        for (std::size_t k = 0; k < block; ++k) {
            auto folded = static_cast<unsigned char>(static_cast<unsigned char>(p[k]) | 0x20);
            count = static_cast<std::uint8_t>(count + ((folded == 'g') | (folded == 'c')));
        }
        gc += count;
        p += block;
        left -= block;
    }
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
        // Where both texts are ASCII for a whole block, byte k pairs with byte k: compare the
        // block bytewise, in a loop the compiler vectorises.
        if (a.remaining() >= kBlock && b.remaining() >= kBlock) {
            const unsigned char* x = a.data();
            const unsigned char* y = b.data();
            unsigned char high = 0;
            unsigned equal = 0;
            for (std::size_t k = 0; k < kBlock; ++k) {
                high |= x[k] | y[k];
                equal += x[k] == y[k];
            }
            if (high < 0x80) {
                matches += equal;
                a.skip(kBlock);
                b.skip(kBlock);
                continue;
            }
        }
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
