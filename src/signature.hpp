// Compile-time reading of a text signature such as "(pheno_age, w1=0.333)": the registration
// row carries the signature once, and the parameter names, the number of required parameters
// and the default values are all derived from it, so they cannot drift apart.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorin {

// A string literal usable as a template argument.
template <std::size_t N>
struct fixed_string {
    char data[N]{};
    constexpr fixed_string(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) data[i] = s[i];
    }
    static constexpr std::size_t size = N - 1;
    constexpr std::string_view view() const { return {data, N - 1}; }
};

// Name + signature + "\n--\n\n" + body: the form from which the interpreter derives
// __text_signature__ and __doc__.
template <fixed_string Name, fixed_string Sig, fixed_string Body>
struct doc_text {
    static constexpr std::size_t size = Name.size + Sig.size + 5 + Body.size;
    static constexpr std::array<char, size + 1> text = [] {
        std::array<char, size + 1> out{};
        std::size_t k = 0;
        for (char c : Name.view()) out[k++] = c;
        for (char c : Sig.view()) out[k++] = c;
        for (char c : std::string_view("\n--\n\n")) out[k++] = c;
        for (char c : Body.view()) out[k++] = c;
        out[k] = '\0';
        return out;
    }();
};

namespace sig_detail {

constexpr bool is_space(char c) { return c == ' '; }

// Exact decimal-to-double for short literals: an integer mantissa below 2^53 divided by an
// exactly representable power of ten is one correctly rounded IEEE division, so the default
// is the double nearest to the decimal text, as a runtime strtod would give.
constexpr double parse_decimal(std::string_view s) {
    bool neg = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    unsigned long long mant = 0;
    int digits = 0, frac = 0;
    bool seen_point = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c == '.' && !seen_point) { seen_point = true; continue; }
        if (c < '0' || c > '9') throw "a default value must be a plain decimal";
        mant = mant * 10 + static_cast<unsigned>(c - '0');
        if (++digits > 15) throw "a default value must have at most 15 significant digits";
        if (seen_point) ++frac;
    }
    double p10 = 1.0;
    for (int k = 0; k < frac; ++k) p10 *= 10.0;
    double v = static_cast<double>(mant) / p10;
    return neg ? -v : v;
}

}  // namespace sig_detail

// The parsed form of a text signature with P parameters.
template <fixed_string Sig>
struct parsed_signature {
    static constexpr std::string_view text = Sig.view();

    static constexpr std::size_t count = [] {
        static_assert(Sig.size >= 2 && Sig.data[0] == '(' && Sig.data[Sig.size - 1] == ')',
                      "A text signature must be parenthesised, as in \"(x, y)\".");
        if (Sig.size == 2) return std::size_t{0};
        std::size_t n = 1;
        for (char c : text) n += (c == ',');
        return n;
    }();

    // The parameter names, each NUL-terminated, laid out one after another.
    struct layout {
        std::array<char, Sig.size + 1> chars{};
        std::array<std::size_t, count> name_at{};
        std::array<std::string_view, count> default_text{};
        std::size_t required = count;
    };

    static constexpr layout parts = [] {
        layout out{};
        std::size_t k = 0, param = 0;
        std::size_t i = 1;
        bool seen_default = false;
        while (param < count) {
            while (sig_detail::is_space(text[i])) ++i;
            out.name_at[param] = k;
            while (text[i] != ',' && text[i] != ')' && text[i] != '=' && !sig_detail::is_space(text[i]))
                out.chars[k++] = text[i++];
            out.chars[k++] = '\0';
            while (sig_detail::is_space(text[i])) ++i;
            if (text[i] == '=') {
                std::size_t start = ++i;
                while (text[i] != ',' && text[i] != ')') ++i;
                out.default_text[param] = text.substr(start, i - start);
                if (!seen_default) out.required = param;
                seen_default = true;
            } else if (seen_default) {
                throw "a parameter without a default cannot follow one with a default";
            }
            ++i;  // past ',' or ')'
            ++param;
        }
        return out;
    }();

    static constexpr std::size_t required = parts.required;

    static constexpr std::array<const char*, count> names = [] {
        std::array<const char*, count> out{};
        for (std::size_t p = 0; p < count; ++p) out[p] = parts.chars.data() + parts.name_at[p];
        return out;
    }();

    // Defaults of the optional parameters, in order (index p - required).
    static constexpr std::array<double, count - required> defaults = [] {
        std::array<double, count - required> out{};
        for (std::size_t p = required; p < count; ++p)
            out[p - required] = sig_detail::parse_decimal(parts.default_text[p]);
        return out;
    }();
};

}  // namespace quorin
