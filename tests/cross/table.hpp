// Stands in for the module's table.hpp when the rows are compiled without the interpreter (the
// cross-architecture check, scripts/check-aarch64): a row keeps its name and a function that
// calls its core on generated arguments and prints every outcome exactly. The groups are those
// of the real table, copied by the script without its frame.
#pragma once

#include <array>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "array/form.hpp"
#include "error/quorin_error.hpp"
#include "numeric.hpp"
#include "signature.hpp"

namespace quorin {

namespace sample {

// splitmix64: the same arguments on every machine, made with integer arithmetic only.
struct Source {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    std::uint64_t below(std::uint64_t n) { return next() % n; }

    // Mostly ordinary magnitudes from 2^-8 to 2^12, a few of them negative, and now and then a
    // special value; built from bits, so no library function is involved.
    double real() {
        static constexpr double special[] = {0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 1e-300, 1e300,
                                             5e-324, __builtin_inf(), -__builtin_inf(),
                                             __builtin_nan("")};
        if (below(8) == 0) return special[below(std::size(special))];
        std::uint64_t exponent = std::uint64_t{1023} + below(21) - 8;
        std::uint64_t bits = exponent << 52 | (next() >> 12);
        if (below(10) == 0) bits |= std::uint64_t{1} << 63;
        double x;
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }
    std::uint64_t count() { return below(16) == 0 ? next() >> below(64) : below(200); }
};

template <class T>
struct arg;
template <>
struct arg<double> {
    double v;
    explicit arg(Source& s) : v(s.real()) {}
    double get() const { return v; }
};
template <>
struct arg<std::uint32_t> {
    std::uint32_t v;
    explicit arg(Source& s) : v(static_cast<std::uint32_t>(s.count())) {}
    std::uint32_t get() const { return v; }
};
template <>
struct arg<std::uint64_t> {
    std::uint64_t v;
    explicit arg(Source& s) : v(s.count()) {}
    std::uint64_t get() const { return v; }
};
template <>
struct arg<std::string_view> {
    std::string v;
    explicit arg(Source& s) {
        for (auto n = s.below(40); n-- > 0;) v += "ACGUTacgux"[s.below(s.below(8) == 0 ? 10 : 5)];
    }
    std::string_view get() const { return v; }
};
template <>
struct arg<std::vector<double>> {
    std::vector<double> v;
    explicit arg(Source& s) {
        for (auto n = s.below(6); n-- > 0;) v.push_back(s.below(2) ? s.real() : 1.0 / double(2 + s.below(6)));
    }
    const std::vector<double>& get() const { return v; }
};
template <>
struct arg<std::vector<Triple>> {
    std::vector<Triple> v;
    explicit arg(Source& s) {
        for (auto n = s.below(4); n-- > 0;) v.push_back({s.real(), s.real(), s.real()});
    }
    const std::vector<Triple>& get() const { return v; }
};
// Cores read a list through a List over the same values as a vector holds.
template <class T>
struct arg<List<T>> : arg<std::vector<T>> {
    using arg<std::vector<T>>::arg;
    List<T> get() const { return List<T>(this->v); }
};

// The bits of a float, except that a NaN is only "nan": which NaN an operation makes is the
// processor's (x86-64 makes a negative one where aarch64 makes a positive one).
inline void print(double x) {
    if (x != x) return (void)std::printf(" nan");
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof x);
    std::printf(" %016" PRIx64, bits);
}
inline void print(std::uint64_t n) { std::printf(" %" PRIu64, n); }
template <std::size_t N>
void print(const std::array<double, N>& a) {
    for (double x : a) print(x);
}
inline void print(const RigidMotion& m) {
    for (const Triple& row : m.rotation) print(row);
    print(m.translation);
}
template <class T>
void print(const Result<T>& r) {
    if (r) return print(*r);
    std::string_view m = r.error().message();
    std::printf(" refused: %.*s", static_cast<int>(m.size()), m.data());
}

// Prints the outcome of `count` calls of Core on drawn arguments of types A...; returns the
// arguments of each call and its outcome.
template <auto Core, class... A>
auto draw_and_print(const char* name, int count) {
    using Outcome = decltype(Core(std::declval<A>()...));
    std::vector<std::tuple<arg<std::remove_cvref_t<A>>...>> drawn;
    std::vector<Outcome> outcomes;
    Source source{0xCBF29CE484222325u};  // FNV-1a of the name: each function its own draws
    for (const char* c = name; *c != 0; ++c) source.state = (source.state ^ std::uint8_t(*c)) * 0x100000001B3u;
    for (int k = 0; k < count; ++k) {
        // Braces: the arguments are drawn in parameter order.
        std::tuple<arg<std::remove_cvref_t<A>>...> args{arg<std::remove_cvref_t<A>>(source)...};
        std::printf("%s", name);
        try {
            Outcome r = std::apply([](const auto&... a) { return Core(a.get()...); }, args);
            print(r);
            drawn.push_back(args);
            outcomes.push_back(r);
        } catch (const std::exception& e) {
            std::printf(" threw: %s", e.what());
        }
        std::printf("\n");
    }
    return std::pair{drawn, outcomes};
}

template <auto Core, class F = decltype(Core)>
struct calls;
template <auto Core, class R, class... A>
struct calls<Core, R (*)(A...)> {
    static void run(const char* name, int count) { draw_and_print<Core, A...>(name, count); }
};
template <auto Core, class R, class... A>
struct calls<Core, R (*)(A...) noexcept> : calls<Core, R (*)(A...)> {};

// Set when a vector loop disagrees with the scalar core; the program then fails.
inline bool lanes_disagree = false;

// A core written over its value type: called as a scalar function as the others are, then run
// by its array loop at every level of vector loop this processor has, over the same arguments
// laid out contiguously and with the first one broadcast. Every element must come out as the
// scalar core gives it, bit for bit, and a refused one as NaN. A NaN result is only NaN, as in
// the printed outcomes: on aarch64 g++ may form a product with a negated factor, x * -y, as
// -(x * y) in one loop and not the other, which flips the sign of a NaN (and of nothing else).
template <auto Core, class Args>
struct lanes_check;
template <auto Core, class... A>
struct lanes_check<Core, std::tuple<A...>> {
    static void run(const char* name, int count) {
        auto [drawn, outcomes] = draw_and_print<Core, A...>(name, count);
        constexpr std::size_t nin = sizeof...(A);
        // The values of an outcome, one per output: a real, or the reals of a tuple.
        auto values = [](const auto& outcome) {
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(*outcome)>, double>)
                return std::array<double, 1>{outcome ? *outcome : __builtin_nan("")};
            else {
                std::remove_cvref_t<decltype(*outcome)> v;
                v.fill(__builtin_nan(""));
                return outcome ? *outcome : v;
            }
        };
        constexpr std::size_t nout = decltype(values(outcomes[0]))().size();
        const std::size_t n = drawn.size();
        std::vector<double> columns[nin], out[nout];
        for (auto& o : out) o.resize(n);
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            for (const auto& t : drawn) (columns[I].push_back(std::get<I>(t).get()), ...);
        }(std::index_sequence_for<A...>{});
        using kernel = array::detail::kernel<array::detail::direct<Core>, std::tuple<A...>, 0>;
        const int levels = array::widest_lanes();
        for (int broadcast = 0; broadcast < 2; ++broadcast)
            for (int level = 0; level <= levels; ++level) {
                array::lanes_level = level;
                char* data[nin + nout];
                std::ptrdiff_t steps[nin + nout];
                for (std::size_t k = 0; k < nin; ++k) {
                    data[k] = reinterpret_cast<char*>(columns[k].data());
                    steps[k] = broadcast && k == 0 ? 0 : 8;
                }
                for (std::size_t k = 0; k < nout; ++k) {
                    data[nin + k] = reinterpret_cast<char*>(out[k].data());
                    steps[nin + k] = 8;
                }
                array::Refusals refusals;
                refusals.stop_at_first = false;
                const auto dims = static_cast<std::ptrdiff_t>(n);
                kernel::loop(data, &dims, steps, refusals);
                for (std::size_t e = 0; e < n; ++e) {
                    auto want = values(outcomes[e]);
                    if (broadcast)
                        want = values([&]<std::size_t... I>(std::index_sequence<I...>) {
                            return Core(columns[I][I == 0 ? 0 : e]...);
                        }(std::index_sequence_for<A...>{}));
                    for (std::size_t k = 0; k < nout; ++k)
                        if (std::memcmp(&want[k], &out[k][e], sizeof(double)) != 0 &&
                            !(want[k] != want[k] && out[k][e] != out[k][e])) {
                            std::printf("%s DISAGREE: lanes level %d, element %zu, output %zu%s\n",
                                        name, level, e, k, broadcast ? ", first input broadcast" : "");
                            lanes_disagree = true;
                        }
                }
            }
        array::lanes_level = levels;
    }
};
template <auto Core, class F>
    requires std::is_class_v<F>
struct calls<Core, F> : lanes_check<Core, typename array::generic_core<F>::args> {};

}  // namespace sample

struct Row {
    const char* name;
    void (*run)(const char* name, int count);
};

template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body = "">
inline constexpr Row def{Name.data, &sample::calls<Core>::run};
// The rows of quorin_np alone compile too; the program runs the contracts' (quorin::table).
template <fixed_string Name, fixed_string Sig, auto Core, fixed_string Body = "">
inline constexpr Row def_array{Name.data, &sample::calls<Core>::run};

}  // namespace quorin

#include "registration.hpp"  // src/table.hpp without the frame
