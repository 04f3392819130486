// List parameters over arrays. A core parameter that is a list of reals or of triples takes
// core dimensions of its operand, as NumPy's generalised ufuncs lay them out: `(n)` for reals,
// `(n,3)` for triples, each list with a dimension name of its own so that lengths need not agree
// (a core that needs equal lengths says so in its own words). The core reads the list where it
// lies in the operand, with the operand's own steps: nothing is copied, so a list of 10^8
// elements broadcast from one value costs no memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "numeric.hpp"

namespace quorin::array::detail {

static_assert(sizeof(Triple) == 3 * sizeof(double) && alignof(Triple) == alignof(double),
              "A triple must lie in memory as three consecutive doubles.");

// What kind of list a core parameter is: core_dims 0 for a scalar, 1 for reals, 2 for triples.
template <class P>
struct list_of {
    static constexpr int core_dims = 0;
    struct reader {};  // a scalar needs no buffer
};

template <class Element, int Dims>
struct list_kind {
    static constexpr int core_dims = Dims;

    struct reader {
        List<Element> read(const char* p, std::ptrdiff_t n, const std::ptrdiff_t* core_steps) const {
            typename List<Element>::Steps steps;
            for (int k = 0; k < Dims; ++k) steps[k] = core_steps[k];
            return List<Element>(p, static_cast<std::size_t>(n), steps);
        }
    };
};
template <> struct list_of<List<double>> : list_kind<double, 1> {};
template <> struct list_of<List<Triple>> : list_kind<Triple, 2> {};

// Where one operand's core dimensions are found in a loop call: the index of its length in
// `dimensions` and of its first core step in `steps`.
struct CoreAt {
    int length;
    int step;
};

// Out is the outcome of the core: its number of outputs, and their core dimensions in NumPy's
// notation when they have any (nullptr: one real each).
template <class Out, class... P>
struct core_layout {
    static constexpr int Nout = Out::outputs;
    static constexpr bool any = ((list_of<P>::core_dims > 0) || ...);
    // The steps of the inputs' core dimensions; those of the outputs follow them.
    static constexpr int input_core_steps = (list_of<P>::core_dims + ... + 0);

    // NumPy numbers the distinct core dimensions in order of first appearance (after the outer
    // one, dimensions[0]); the fixed 3 of every triple list is one dimension.
    static constexpr std::array<CoreAt, sizeof...(P)> at = [] {
        std::array<CoreAt, sizeof...(P)> a{};
        constexpr int dims[] = {list_of<P>::core_dims..., 0};
        int next_length = 1, three = 0, next_step = static_cast<int>(sizeof...(P)) + Nout;
        for (std::size_t k = 0; k < sizeof...(P); ++k) {
            a[k] = {dims[k] > 0 ? next_length++ : 0, next_step};
            if (dims[k] == 2 && three == 0) three = next_length++;
            next_step += dims[k];
        }
        return a;
    }();

    // "(n),(),()->()", "(n,3),(m,3)->()": one name per list, in parameter order.
    static constexpr auto text = [] {
        std::array<char, 8 * (sizeof...(P) + Nout) + 1> s{};
        constexpr int dims[] = {list_of<P>::core_dims..., 0};
        std::size_t at = 0;
        auto put = [&](const char* t) {
            while (*t) s[at++] = *t++;
        };
        const char* names[] = {"n", "m", "k", "l", "p", "q"};
        int lists = 0;
        for (std::size_t k = 0; k < sizeof...(P); ++k) {
            put(k == 0 ? "(" : ",(");
            if (dims[k] > 0) put(names[lists++]);
            if (dims[k] == 2) put(",3");
            put(")");
        }
        put("->");
        if constexpr (Out::shapes != nullptr) put(Out::shapes);
        else for (int o = 0; o < Nout; ++o) put(o == 0 ? "()" : ",()");
        return s;
    }();
    static_assert(((list_of<P>::core_dims > 0) + ... + 0) <= 6, "At most six list parameters.");
};

}  // namespace quorin::array::detail
