// The value type of a vector loop: N doubles evaluated together, each lane exactly as a double
// would be. A core written once over its value type V (a double, or Lanes<N>) runs on both: the
// arithmetic operators, square root and comparisons act lane by lane with the scalar operation's
// IEEE result (no fused multiply-add, operands in the order written), and a comparison gives a
// Mask, which is true in a condition when any lane holds. A precondition that holds in a lane
// therefore fails the whole vector, whose elements the loop then gives to the scalar core.
#pragma once

#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

namespace quorin::array {

// The compiler's generic vectors of two and four doubles (and of as many 64-bit masks).
template <int N>
struct vectors;
template <>
struct vectors<2> {
    typedef double real __attribute__((vector_size(16)));
    typedef std::int64_t bits __attribute__((vector_size(16)));
};
template <>
struct vectors<4> {
    typedef double real __attribute__((vector_size(32)));
    typedef std::int64_t bits __attribute__((vector_size(32)));
};

template <int N>
struct Mask {
    using bits = typename vectors<N>::bits;
    bits m;

    // Whether any lane holds: one sign-bit gather on x86-64 (the halves of four lanes joined
    // first), an OR of the lanes elsewhere.
    explicit operator bool() const noexcept {
#if defined(__x86_64__)
        typename vectors<2>::bits half[N / 2];
        std::memcpy(half, &m, sizeof m);
        if constexpr (N == 4) half[0] |= half[1];
        return __builtin_ia32_movmskpd(reinterpret_cast<typename vectors<2>::real>(half[0])) != 0;
#else
        std::int64_t any = 0;
        for (int k = 0; k < N; ++k) any |= m[k];
        return any != 0;
#endif
    }
    friend Mask operator!(Mask a) noexcept { return {~a.m}; }
    friend Mask operator|(Mask a, Mask b) noexcept { return {a.m | b.m}; }
    friend Mask operator&(Mask a, Mask b) noexcept { return {a.m & b.m}; }
};

template <int N>
struct Lanes {
    using vec = typename vectors<N>::real;
    static constexpr int size = N;
    vec v;

    Lanes() = default;
    constexpr Lanes(vec x) noexcept : v(x) {}
    // A constant of a formula (or a broadcast operand) in every lane, bits unchanged.
    Lanes(double x) noexcept {  // NOLINT: implicit, so that `2.0 * x` reads as written
        for (int k = 0; k < N; ++k) v[k] = x;
    }

    static Lanes load(const char* p) noexcept {
        Lanes r;
        std::memcpy(&r.v, p, sizeof r.v);
        return r;
    }
    void store(char* p) const noexcept { std::memcpy(p, &v, sizeof v); }
    // The value at p in every lane.
    static Lanes splat(const char* p) noexcept {
        double x;
        std::memcpy(&x, p, sizeof x);
        return Lanes(x);
    }
    double first() const noexcept { return v[0]; }

    friend Lanes operator+(Lanes a, Lanes b) noexcept { return {a.v + b.v}; }
    friend Lanes operator-(Lanes a, Lanes b) noexcept { return {a.v - b.v}; }
    friend Lanes operator*(Lanes a, Lanes b) noexcept { return {a.v * b.v}; }
    friend Lanes operator/(Lanes a, Lanes b) noexcept { return {a.v / b.v}; }
    friend Lanes operator-(Lanes a) noexcept { return {-a.v}; }

    friend Mask<N> operator<(Lanes a, Lanes b) noexcept { return {a.v < b.v}; }
    friend Mask<N> operator<=(Lanes a, Lanes b) noexcept { return {a.v <= b.v}; }
    friend Mask<N> operator>(Lanes a, Lanes b) noexcept { return {a.v > b.v}; }
    friend Mask<N> operator>=(Lanes a, Lanes b) noexcept { return {a.v >= b.v}; }
    friend Mask<N> operator==(Lanes a, Lanes b) noexcept { return {a.v == b.v}; }
    friend Mask<N> operator!=(Lanes a, Lanes b) noexcept { return {a.v != b.v}; }
};

// ---- cores written over their value type -----------------------------------------------------

// A core that is a lambda generic in its value type V takes only reals; these are its
// parameters and outcome as a scalar function, where V is double. Its arity is the number of
// doubles it can be called with (the call is not instantiated to find out).
template <std::size_t>
using real_param = double;

template <class F, class Seq>
struct reals_call;
template <class F, std::size_t... I>
struct reals_call<F, std::index_sequence<I...>> {
    static constexpr bool ok = std::is_invocable_v<const F&, real_param<I>...>;
};

template <class F, std::size_t N = 0>
constexpr std::size_t reals_taken() {
    if constexpr (reals_call<F, std::make_index_sequence<N>>::ok) {
        return N;
    } else {
        static_assert(N < 16, "A core written over its value type takes reals only.");
        return reals_taken<F, N + 1>();
    }
}

template <class F, class Seq = std::make_index_sequence<reals_taken<F>()>>
struct generic_core;
template <class F, std::size_t... I>
struct generic_core<F, std::index_sequence<I...>> {
    using result = std::invoke_result_t<const F&, real_param<I>...>;
    using args = std::tuple<real_param<I>...>;
    static constexpr std::size_t arity = sizeof...(I);
};

}  // namespace quorin::array

namespace quorin {

using array::Lanes;
using array::Mask;

// ---- the few functions a formula over V uses besides its operators --------------------------

// c ? a : b, lane by lane; both are evaluated, so neither may have an effect.
inline double where(bool c, double a, double b) noexcept { return c ? a : b; }
template <int N>
Lanes<N> where(Mask<N> c, Lanes<N> a, Lanes<N> b) noexcept {
    typedef typename Mask<N>::bits bits;
    bits x, y;
    std::memcpy(&x, &a.v, sizeof x);
    std::memcpy(&y, &b.v, sizeof y);
    bits r = (x & c.m) | (y & ~c.m);
    Lanes<N> out;
    std::memcpy(&out.v, &r, sizeof r);
    return out;
}

inline bool is_nan(double x) noexcept { return std::isnan(x); }
template <int N>
Mask<N> is_nan(Lanes<N> x) noexcept {
    return x != x;
}

// The correctly rounded square root, which the vector instruction gives lane by lane too.
inline double root(double x) noexcept { return std::sqrt(x); }
template <int N>
Lanes<N> root(Lanes<N> x) noexcept {
    Lanes<N> r;
    for (int k = 0; k < N; ++k) r.v[k] = __builtin_sqrt(x.v[k]);
    return r;
}

// |x|: the sign bit cleared, lane by lane.
inline double magnitude(double x) noexcept { return std::fabs(x); }
template <int N>
Lanes<N> magnitude(Lanes<N> x) noexcept {
    Lanes<N> r;
    for (int k = 0; k < N; ++k) r.v[k] = __builtin_fabs(x.v[k]);
    return r;
}

// A refusal's message that shows a value, made by `make` from a double. Over lanes none is
// made: the loop takes a refused vector again element by element, and the scalar core gives
// each refused element its message.
template <class Make>
auto message_with(double x, Make make) {
    return make(x);
}
template <int N, class Make>
const char* message_with(Lanes<N>, Make) noexcept {
    return "";
}

}  // namespace quorin

namespace quorin::array {

// ---- which vector loops run ------------------------------------------------------------------

// 0: every element through the scalar core; 1: two lanes (SSE2, or NEON on aarch64);
// 2: four lanes (AVX2, where the processor has it).
inline int widest_lanes() noexcept {
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? 2 : 1;
#else
    return 1;
#endif
}

// The level the loops use: the widest the processor has, unless lowered (to test each level).
inline std::atomic<int> lanes_level{widest_lanes()};

}  // namespace quorin::array
