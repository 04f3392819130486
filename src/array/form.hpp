// How a contract core runs element by element over arrays: its operands and a strided loop,
// both derived from the core's C++ signature. Nothing here knows of Python or NumPy: the rows
// carry a form, and the companion module turns it into ufunc loops.
#pragma once

#include <algorithm>
#include <array>
#include <cfenv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "array/core_dims.hpp"
#include "array/lanes.hpp"
#include "error/quorin_error.hpp"

namespace quorin::array {

// The kind of one input: a real is read from float64 elements, a count from 64-bit integer
// elements (signed or unsigned, one loop each) and checked against the count's range. A list of
// reals or of triples is a real input with core dimensions. A text is read as a string_view
// gathered beforehand from a collection of str (never a ufunc operand). A per-call option is
// one count given by keyword for a whole call over texts (min_loop=3) and fed to every element.
enum class Operand : std::uint8_t { real, count32, count64, text, per_call };

// The parameter type of a per-call option, after the texts in a core's signature.
struct PerCall {
    std::uint64_t value;
};

// What one element of a result holds: reals (float64), a count (int64), or, for functions
// over texts only, a text or a list of pairs of positions. Those two are no 8-byte values: the
// loop leaves them in a Held of the call's, made Python objects once the call has the lock.
enum class Yields : std::uint8_t { reals, count, text, pairs };

struct Held {
    bool present = false;  // false: missing, or refused
    std::string text;
    std::vector<std::int64_t> pairs;  // i0, j0, i1, j1, ...
};

// Why an element was refused: a failed precondition (ValueError), a count out of range
// (OverflowError, with the scalar conversion's own text), or an element the scalar conversion
// refuses with an exception of its own (recorded by whoever gathered the element).
enum class Refusal : std::uint8_t { precondition, overflow, conversion };

// What a loop reports about the elements it refused, across all the chunks of one call.
struct Refusals {
    bool stop_at_first = true;   // raise mode: stop at the first refusal
    std::int64_t visited = 0;    // elements finished in earlier chunks of this call
    std::int64_t count = 0;      // refusals so far
    std::int64_t first_at = -1;  // position of the first refusal in visiting order
    Refusal first_kind = Refusal::precondition;
    std::optional<QuorinError> first;

    void refuse(Refusal kind, QuorinError why, std::int64_t at) {
        if (count++ == 0) {
            first_kind = kind;
            first.emplace(std::move(why));
            first_at = at;
        }
    }
};

// Runs a core over dimensions[0] elements: data[k] points at operand k (inputs, then outputs),
// steps[k] is its stride in bytes. With core dimensions, NumPy's generalised-ufunc convention:
// dimensions[1...] are the sizes of the core dimensions, and the steps of each operand's core
// dimensions follow the outer steps. Returns false when it stopped at a refusal (raise mode).
using Kernel = bool (*)(char* const* data, const std::ptrdiff_t* dimensions,
                        const std::ptrdiff_t* steps, Refusals& refusals);

struct Form {
    int nin;
    int nout;
    const Operand* inputs;  // nin kinds, in parameter order
    int ncounts;            // count inputs; there are 2^ncounts kernels
    const Kernel* kernels;  // indexed by a mask whose bit k says count input k is unsigned
    const Form* full;       // with optional parameters: the form that takes them all
    const char* layout;     // core dimensions in NumPy's notation, "(n),(),()->()"; or nullptr
    bool texts;             // inputs are texts: the core runs over collections of str
    bool count_result;      // texts only: the one output is a count, stored as int64
    int per_call = 0;       // texts only: the last inputs are per-call options
    Yields yields = Yields::reals;
};

// ---- derivation from the core's signature ---------------------------------------------------

namespace detail {

template <class T> struct operand_kind { static constexpr bool ok = false; };
template <> struct operand_kind<double> {
    static constexpr bool ok = true;
    static constexpr Operand kind = Operand::real;
};
template <> struct operand_kind<std::uint32_t> {
    static constexpr bool ok = true;
    static constexpr Operand kind = Operand::count32;
};
template <> struct operand_kind<std::uint64_t> {
    static constexpr bool ok = true;
    static constexpr Operand kind = Operand::count64;
};
template <> struct operand_kind<std::string_view> {
    static constexpr bool ok = true;
    static constexpr Operand kind = Operand::text;
};
template <> struct operand_kind<PerCall> {
    static constexpr bool ok = true;
    static constexpr Operand kind = Operand::per_call;
};
template <class E> struct operand_kind<List<E>> {
    static constexpr bool ok = list_of<List<E>>::core_dims > 0;
    static constexpr Operand kind = Operand::real;
};

// The value of a core's outcome, and how many reals it holds.
// `shapes` gives the outputs' core dimensions when they have any (nullptr: one real each);
// such an outcome is stored with the steps of those dimensions, `core`.
template <class R> struct outcome {
    static constexpr int outputs = 0;
    static constexpr bool count = false;
    static constexpr const char* shapes = nullptr;
};
// Each number is 8 bytes: a float64, or an int64 for a count (counts of texts only). A refused
// element becomes NaN, or -1 for a count, which no count can be.
template <class Marker>
struct numbers {
    static constexpr std::ptrdiff_t size = 8;
    static constexpr const char* shapes = nullptr;
    static void refuse(int outputs, char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st) {
        for (int k = 0; k < outputs; ++k) std::memcpy(out[k] + i * st[k], &Marker::refused, 8);
    }
};
template <> struct outcome<double> : numbers<outcome<double>> {
    static constexpr int outputs = 1;
    static constexpr bool count = false;
    static constexpr Yields yields = Yields::reals;
    static constexpr double refused = std::numeric_limits<double>::quiet_NaN();
    static void store(double v, char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st) {
        std::memcpy(out[0] + i * st[0], &v, sizeof v);
    }
};
template <> struct outcome<std::uint64_t> : numbers<outcome<std::uint64_t>> {
    static constexpr int outputs = 1;
    static constexpr bool count = true;
    static constexpr Yields yields = Yields::count;
    static constexpr std::int64_t refused = -1;
    static void store(std::uint64_t v, char* const* out, std::ptrdiff_t i,
                      const std::ptrdiff_t* st) {
        auto x = static_cast<std::int64_t>(v);  // a count of pairs is at most half a length
        std::memcpy(out[0] + i * st[0], &x, sizeof x);
    }
};
template <std::size_t N> struct outcome<std::array<double, N>> : numbers<outcome<std::array<double, N>>> {
    static constexpr int outputs = static_cast<int>(N);
    static constexpr bool count = false;
    static constexpr Yields yields = Yields::reals;
    static constexpr double refused = std::numeric_limits<double>::quiet_NaN();
    static void store(const std::array<double, N>& v, char* const* out, std::ptrdiff_t i,
                      const std::ptrdiff_t* st) {
        for (std::size_t k = 0; k < N; ++k) std::memcpy(out[k] + i * st[k], &v[k], sizeof(double));
    }
};
// A rigid motion: its rotation matrix as a (3,3) output, its translation as a (3) output.
template <> struct outcome<RigidMotion> {
    static constexpr int outputs = 2;
    static constexpr bool count = false;
    static constexpr std::ptrdiff_t size = 8;
    static constexpr Yields yields = Yields::reals;
    static constexpr const char* shapes = "(3,3),(3)";
    static void store(const RigidMotion& v, char* const* out, std::ptrdiff_t i,
                      const std::ptrdiff_t* st, const std::ptrdiff_t* core) {
        char* r = out[0] + i * st[0];
        char* t = out[1] + i * st[1];
        for (std::ptrdiff_t a = 0; a < 3; ++a) {
            for (std::ptrdiff_t b = 0; b < 3; ++b)
                std::memcpy(r + a * core[0] + b * core[1], &v.rotation[a][b], sizeof(double));
            std::memcpy(t + a * core[2], &v.translation[a], sizeof(double));
        }
    }
    static void refuse(char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st,
                       const std::ptrdiff_t* core) {
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        constexpr std::array<double, 3> row{nan, nan, nan};
        store(RigidMotion{{row, row, row}, row}, out, i, st, core);
    }
};
// A text or a list of pairs per element, moved into the element's Held; a refused one is left
// absent.
struct held {
    static constexpr int outputs = 1;
    static constexpr bool count = false;
    static constexpr std::ptrdiff_t size = sizeof(Held);
    static constexpr const char* shapes = nullptr;
    static Held& at(char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st) {
        return *reinterpret_cast<Held*>(out[0] + i * st[0]);
    }
    static void refuse(int, char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st) {
        at(out, i, st).present = false;
    }
};
template <> struct outcome<std::string> : held {
    static constexpr Yields yields = Yields::text;
    static void store(std::string&& v, char* const* out, std::ptrdiff_t i, const std::ptrdiff_t* st) {
        Held& h = at(out, i, st);
        h.text = std::move(v);
        h.present = true;
    }
};
// Pairs: any trivially copyable struct of two int64, such as a base pair (i, j).
template <class P>
    requires(std::is_trivially_copyable_v<P> && sizeof(P) == 2 * sizeof(std::int64_t))
struct outcome<std::vector<P>> : held {
    static constexpr Yields yields = Yields::pairs;
    static void store(const std::vector<P>& v, char* const* out, std::ptrdiff_t i,
                      const std::ptrdiff_t* st) {
        Held& h = at(out, i, st);
        h.pairs.resize(2 * v.size());
        if (!v.empty()) std::memcpy(h.pairs.data(), v.data(), v.size() * sizeof(P));
        h.present = true;
    }
};
template <class T> struct outcome<Result<T>> : outcome<T> {};

inline constexpr const char kCount32Range[] = "out of range integral type conversion attempted";
inline constexpr const char kNegativeUnsigned[] = "can't convert negative int to unsigned";
inline constexpr const char kBeyondLong[] = "Python int too large to convert to C long";

// Reads element i of an input as the core's parameter type; a count outside the range the
// scalar conversion accepts is refused with that conversion's message.
template <class P, bool Unsigned>
bool read(const char* p, P& v, const char*& why) {
    if constexpr (std::is_same_v<P, double> || std::is_same_v<P, std::string_view> ||
                  std::is_same_v<P, PerCall>) {
        std::memcpy(&v, p, sizeof v);
        return true;
    } else if constexpr (Unsigned) {
        std::uint64_t x;
        std::memcpy(&x, p, sizeof x);
        if (x > std::numeric_limits<P>::max()) {  // a 32-bit count is read as a C long first
            why = x > std::numeric_limits<std::int64_t>::max() ? kBeyondLong : kCount32Range;
            return false;
        }
        v = static_cast<P>(x);
        return true;
    } else {
        std::int64_t x;
        std::memcpy(&x, p, sizeof x);
        if (x < 0) return why = std::is_same_v<P, std::uint32_t> ? kCount32Range : kNegativeUnsigned, false;
        if (static_cast<std::uint64_t>(x) > std::numeric_limits<P>::max())
            return why = kCount32Range, false;
        v = static_cast<P>(x);
        return true;
    }
}

template <class P>
inline constexpr bool is_count =
    std::is_same_v<P, std::uint32_t> || std::is_same_v<P, std::uint64_t>;

// Bit k of Mask says the k-th count input is unsigned; this gives that bit for input I.
template <class Params, std::size_t I>
constexpr unsigned count_bit() {
    unsigned k = 0;
    [&]<std::size_t... J>(std::index_sequence<J...>) {
        ((k += (J < I && is_count<std::tuple_element_t<J, Params>>)), ...);
    }(std::make_index_sequence<std::tuple_size_v<Params>>{});
    return k;
}

// How a loop calls the core: directly, or with trailing parameters left to their defaults (in
// every lane, when the values are lanes). `takes<A...>` says whether the core can be called
// with values of these types; for lanes, only a core written over its value type can.
template <auto Core>
struct direct {
    template <class... A>
    static auto call(A... a) { return Core(a...); }
    template <class... A>
    static constexpr bool takes = std::is_invocable_v<decltype(Core), A...>;
};
template <auto Core, const auto& Defaults>
struct with_defaults {
    static constexpr std::size_t kLeft = std::tuple_size_v<std::remove_cvref_t<decltype(Defaults)>>;
    template <class... A>
    using value = std::tuple_element_t<0, std::tuple<A..., double>>;
    template <class... A>
    static auto call(A... a) {
        return [&]<std::size_t... K>(std::index_sequence<K...>) {
            return Core(a..., value<A...>(Defaults[K])...);
        }(std::make_index_sequence<kLeft>{});
    }
    template <std::size_t, class T>
    using again = T;
    template <class... A>
    static constexpr bool takes = []<std::size_t... K>(std::index_sequence<K...>) {
        return std::is_invocable_v<decltype(Core), A..., again<K, value<A...>>...>;
    }(std::make_index_sequence<kLeft>{});
};

template <class F, class Params, unsigned Mask>
struct kernel;
template <class F, class... P, unsigned Mask>
struct kernel<F, std::tuple<P...>, Mask> {
    using R = decltype(F::call(std::declval<P>()...));
    using out = outcome<std::remove_cvref_t<R>>;
    static constexpr std::size_t nin = sizeof...(P);
    using layout = core_layout<out, P...>;
    static constexpr std::ptrdiff_t kAll = static_cast<std::ptrdiff_t>(nin) + out::outputs;
    // The step of each operand when contiguous: an input's own size (8 bytes, or a
    // string_view for a text), an output's by its kind.
    static constexpr auto sizes = [] {
        std::array<std::ptrdiff_t, kAll> s{};
        std::size_t k = 0;
        ((s[k++] = static_cast<std::ptrdiff_t>(sizeof(P))), ...);
        for (; k < kAll; ++k) s[k] = out::size;
        return s;
    }();
    template <std::size_t I>
    static constexpr bool is_unsigned =
        is_count<std::tuple_element_t<I, std::tuple<P...>>> &&
        ((Mask >> count_bit<std::tuple<P...>, I>()) & 1u);

    // Input I from its element at p: a scalar read there, a list from its core dimensions.
    template <std::size_t I, class T, class Reader>
    static bool load(const char* p, const std::ptrdiff_t* dimensions, const std::ptrdiff_t* steps,
                     Reader& reader, T& v, const char*& why) {
        if constexpr (list_of<T>::core_dims > 0) {
            constexpr CoreAt at = layout::at[I];
            v = reader.read(p, dimensions[at.length], steps + at.step);
            return true;
        } else {
            return read<T, is_unsigned<I>>(p, v, why);
        }
    }

    // Contiguous is a separate instantiation so that the common case has constant strides.
    template <bool Contiguous, std::size_t... I>
    static bool run(char* const* data, const std::ptrdiff_t* dimensions,
                    const std::ptrdiff_t* given, Refusals& r, std::index_sequence<I...>) {
        const std::ptrdiff_t n = dimensions[0];
        std::ptrdiff_t steps[kAll];
        for (std::ptrdiff_t k = 0; k < kAll; ++k) steps[k] = Contiguous ? sizes[k] : given[k];
        std::tuple<typename list_of<P>::reader...> readers;
        char* const* outs = data + nin;
        // Outputs with core dimensions of their own are stored with the steps of those.
        auto store = [&](auto&& v, std::ptrdiff_t i) {
            if constexpr (out::shapes != nullptr)
                out::store(v, outs, i, steps + nin, given + kAll + layout::input_core_steps);
            else
                out::store(std::forward<decltype(v)>(v), outs, i, steps + nin);
        };
        for (std::ptrdiff_t i = 0; i < n; ++i) {
            std::tuple<P...> args;
            const char* why = nullptr;
            // Read in parameter order; the first input out of range decides, as in a call.
            bool read_all = (load<I>(data[I] + i * steps[I], dimensions, given,
                                     std::get<I>(readers), std::get<I>(args), why) && ...);
            if (read_all) {
                auto value = F::call(std::get<I>(args)...);
                if constexpr (requires { value.has_value(); }) {
                    if (value.has_value()) {
                        store(std::move(*value), i);
                        continue;
                    }
                    r.refuse(Refusal::precondition, std::move(value.error()), r.visited + i);
                } else {
                    store(std::move(value), i);
                    continue;
                }
            } else {
                r.refuse(Refusal::overflow, QuorinError(why), r.visited + i);
            }
            if (r.stop_at_first) return false;
            if constexpr (out::shapes != nullptr)
                out::refuse(outs, i, steps + nin, given + kAll + layout::input_core_steps);
            else
                out::refuse(out::outputs, outs, i, steps + nin);
        }
        r.visited += n;
        return true;
    }

    // ---- vector loops, for a core written over its value type ----------------------------
    template <class, int N>
    using lanes_of = Lanes<N>;
    static constexpr bool kLanes = !layout::any && !out::count &&
                                   (std::is_same_v<P, double> && ...) &&
                                   F::template takes<lanes_of<P, 2>...>;

    // Elements [from, from + count) through the scalar core. Out of line, so that the vector
    // loops of every instruction set call this one loop, compiled for the baseline.
    [[gnu::noinline]] static bool scalar_part(char* const* data, std::ptrdiff_t from,
                                              std::ptrdiff_t count, const std::ptrdiff_t* steps,
                                              Refusals& r) {
        char* at[kAll];
        for (std::ptrdiff_t k = 0; k < kAll; ++k) at[k] = data[k] + from * steps[k];
        const std::ptrdiff_t dims[1] = {count};
        return run<false>(at, dims, steps, r, std::index_sequence_for<P...>{});
    }

    // N elements at a time, for contiguous inputs (or one value broadcast, step 0) into
    // contiguous outputs. The elements before the first output address aligned to a vector,
    // and the tail, are taken lane by lane (each element in every lane of a vector of its own),
    // so that every element the core accepts is computed by the same vector instructions
    // wherever in the array it lies. A vector in which any lane
    // is refused is taken again lane by lane, and each refused element goes through the scalar
    // core: every refusal, message and position is the scalar loop's, in the same order.
    template <int N, std::size_t... I>
    static bool run_lanes(char* const* data, std::ptrdiff_t n, const std::ptrdiff_t* steps,
                          Refusals& r, std::index_sequence<I...> each) {
        using L = Lanes<N>;
        const std::int64_t start = r.visited;
        constexpr std::uintptr_t kAlign = sizeof(typename L::vec);
        const auto out = reinterpret_cast<std::uintptr_t>(data[nin]);
        std::ptrdiff_t i =
            out % 8 != 0 ? 0 : std::min<std::ptrdiff_t>(n, (kAlign - out % kAlign) % kAlign / 8);
        if (!lane_by_lane<L>(data, 0, i, steps, r, each)) return false;
        if (i + N <= n) {
            // In locals, which the stores through char* cannot alias, so that they stay in
            // registers.
            const L fixed[nin] = {L::splat(data[I])...};
            const bool moves[nin] = {steps[I] != 0 ...};
            const char* const in[nin] = {data[I]...};
            char* const* const outs = data + nin;
            for (; i + N <= n; i += N) {
                auto value = F::call((moves[I] ? L::load(in[I] + i * 8) : fixed[I])...);
                if (value.has_value()) [[likely]] {
                    store(*value, outs, i);
                    continue;
                }
                r.visited = start + i;
                if (!lane_by_lane<L>(data, i, N, steps, r, each)) return false;
            }
            r.visited = start + i;
        }
        return lane_by_lane<L>(data, i, n - i, steps, r, each);
    }

    // The outputs of a vector at element i of contiguous outputs; the outputs of lane 0 at
    // element j of outputs with any steps.
    template <int N>
    static void store(const Lanes<N>& v, char* const* outs, std::ptrdiff_t i) {
        v.store(outs[0] + i * 8);
    }
    template <int N, std::size_t K>
    static void store(const std::array<Lanes<N>, K>& v, char* const* outs, std::ptrdiff_t i) {
        for (std::size_t k = 0; k < K; ++k) v[k].store(outs[k] + i * 8);
    }
    template <int N>
    static void store_first(const Lanes<N>& v, char* const* outs, std::ptrdiff_t j,
                            const std::ptrdiff_t* st) {
        out::store(v.first(), outs, j, st);
    }
    template <int N, std::size_t K>
    static void store_first(const std::array<Lanes<N>, K>& v, char* const* outs, std::ptrdiff_t j,
                            const std::ptrdiff_t* st) {
        std::array<double, K> x;
        for (std::size_t k = 0; k < K; ++k) x[k] = v[k].first();
        out::store(x, outs, j, st);
    }

    // Elements [from, from + count), each in every lane of a vector of its own.
    template <class L, std::size_t... I>
    static bool lane_by_lane(char* const* data, std::ptrdiff_t from, std::ptrdiff_t count,
                             const std::ptrdiff_t* steps, Refusals& r, std::index_sequence<I...>) {
        for (std::ptrdiff_t j = from; j < from + count; ++j) {
            auto value = F::call(L::splat(data[I] + j * steps[I])...);
            if (value.has_value()) {
                store_first(*value, data + nin, j, steps + nin);
                ++r.visited;
            } else if (!scalar_part(data, j, 1, steps, r)) {
                return false;
            }
        }
        return true;
    }

    // One function per instruction set: everything it calls (the core, the lane operations) is
    // inlined and so compiled for that set; only the scalar part is called.
#if defined(__x86_64__)
    [[gnu::target("avx2"), gnu::flatten]] static bool lanes4(char* const* data, std::ptrdiff_t n,
                                                             const std::ptrdiff_t* steps,
                                                             Refusals& r) {
        return run_lanes<4>(data, n, steps, r, std::index_sequence_for<P...>{});
    }
#endif
    [[gnu::flatten]] static bool lanes2(char* const* data, std::ptrdiff_t n,
                                        const std::ptrdiff_t* steps, Refusals& r) {
        return run_lanes<2>(data, n, steps, r, std::index_sequence_for<P...>{});
    }

    static bool loop(char* const* data, const std::ptrdiff_t* dimensions,
                     const std::ptrdiff_t* steps, Refusals& r) {
        if constexpr (kLanes) {
            // The layouts NumPy's own loops vectorise; any other takes the scalar loop below.
            bool fit = true;
            for (std::size_t k = 0; k < nin; ++k) fit &= steps[k] == 8 || steps[k] == 0;
            for (std::ptrdiff_t k = nin; k < kAll; ++k) fit &= steps[k] == 8;
            switch (fit ? lanes_level.load(std::memory_order_relaxed) : 0) {
                case 0: break;
#if defined(__x86_64__)
                case 2: return lanes4(data, dimensions[0], steps, r);
#endif
                default: return lanes2(data, dimensions[0], steps, r);
            }
        }
        bool contiguous = !layout::any;
        for (std::ptrdiff_t k = 0; k < kAll; ++k) contiguous &= steps[k] == sizes[k];
        constexpr auto each = std::index_sequence_for<P...>{};
        bool done = contiguous ? run<true>(data, dimensions, steps, r, each)
                               : run<false>(data, dimensions, steps, r, each);
        // Overflow to inf and invalid operations to NaN are results. NumPy reads the
        // floating-point flags after a generalised ufunc's loop whatever the loop declares, so
        // the flags the cores raised are cleared here.
        if constexpr (layout::any) std::feclearexcept(FE_ALL_EXCEPT);
        return done;
    }
};

// A core runs over arrays when every parameter is a real, a count or a list of either and its
// outcome is one or more reals; or when it takes texts, then perhaps per-call options, and
// gives one real, a count, a text or pairs (it then runs over collections of str, not as a
// ufunc). Decided apart from form_of, so that no loop is instantiated for other cores.
template <class... P>
inline constexpr int per_call_count = (0 + ... + (operand_kind<P>::kind == Operand::per_call));

template <class... P>
inline constexpr bool only_texts = [] {
    constexpr std::array<Operand, sizeof...(P)> kinds{operand_kind<P>::kind...};
    constexpr std::size_t texts = sizeof...(P) - per_call_count<P...>;
    bool ok = texts > 0;
    for (std::size_t k = 0; k < sizeof...(P); ++k)
        ok &= kinds[k] == (k < texts ? Operand::text : Operand::per_call);
    return ok;
}();

template <class F, class Params>
struct eligible : std::false_type {};
template <class F, class... P>
    requires(operand_kind<P>::ok && ...)
struct eligible<F, std::tuple<P...>> {
    using out = outcome<std::remove_cvref_t<decltype(F::call(std::declval<P>()...))>>;
    static constexpr bool value =
        only_texts<P...> ? out::outputs == 1
                         : out::outputs > 0 && !out::count && out::yields == Yields::reals &&
                               ((operand_kind<P>::kind != Operand::text &&
                                 operand_kind<P>::kind != Operand::per_call) && ...);
};

template <class F, class Params>
struct form_of;
template <class F, class... P>
struct form_of<F, std::tuple<P...>> {
    using R = std::remove_cvref_t<decltype(F::call(std::declval<P>()...))>;
    static constexpr int nout = outcome<R>::outputs;
    static constexpr int ncounts = (0 + ... + is_count<P>);
    static constexpr Operand inputs[] = {operand_kind<P>::kind...};
    static constexpr bool texts = only_texts<P...>;
    using layout = core_layout<outcome<R>, P...>;

    static constexpr auto kernels = []<unsigned... M>(std::integer_sequence<unsigned, M...>) {
        return std::array<Kernel, sizeof...(M)>{&kernel<F, std::tuple<P...>, M>::loop...};
    }(std::make_integer_sequence<unsigned, (1u << ncounts)>{});

    static constexpr Form make(const Form* full) {
        return Form{static_cast<int>(sizeof...(P)), nout, inputs, ncounts, kernels.data(), full,
                    layout::any ? layout::text.data() : nullptr, texts, outcome<R>::count,
                    per_call_count<P...>, outcome<R>::yields};
    }
};

template <class Tuple, class Indices>
struct take;
template <class Tuple, std::size_t... I>
struct take<Tuple, std::index_sequence<I...>> {
    using type = std::tuple<std::tuple_element_t<I, Tuple>...>;
};
template <class Tuple, std::size_t N>
using first_n = typename take<Tuple, std::make_index_sequence<N>>::type;

template <class Params>
struct per_call_of;
template <class... P>
struct per_call_of<std::tuple<P...>> {
    static constexpr std::size_t value = per_call_count<P...>;
};

template <auto Core, class Params, std::size_t Required, const auto& Defaults>
struct forms {
    using all = form_of<direct<Core>, Params>;
    static constexpr Form full = all::make(nullptr);
    // With optional parameters, the form over the required ones fills in the defaults and
    // points at the form that takes them all. Per-call options are none of the parameters
    // that the text signature names: the call gives them by keyword.
    static constexpr Form value = [] {
        if constexpr (Required + per_call_of<Params>::value == std::tuple_size_v<Params>)
            return all::make(nullptr);
        else
            return form_of<with_defaults<Core, Defaults>, first_n<Params, Required>>::make(&full);
    }();
};

}  // namespace detail

// The array form of a core taking reals, counts and lists of either kind, or only texts, and
// giving one or more reals (or, from texts, a count); nullptr for every other core.
template <auto Core, class Params, std::size_t Required, const auto& Defaults>
constexpr const Form* form_for() {
    if constexpr (detail::eligible<detail::direct<Core>, Params>::value)
        return &detail::forms<Core, Params, Required, Defaults>::value;
    else
        return nullptr;
}

}  // namespace quorin::array
