// quorin::expected and quorin::unexpected: the standard library's where it has them, otherwise a
// small stand-in with the part of their interface the cores and the frame use. The choice is
// made here, at compile time, and nowhere else; both hold the same values, so results do not
// depend on it. Older standard libraries (libstdc++ 11, or any libstdc++ under clang before 16,
// whose concepts it does not accept) lack std::expected.
#pragma once

#include <version>

#if defined(__cpp_lib_expected) && __cpp_lib_expected >= 202202L

#include <expected>

namespace quorin {
template <class T, class E>
using expected = std::expected<T, E>;
template <class E>
using unexpected = std::unexpected<E>;
}  // namespace quorin

#else

#include <type_traits>
#include <utility>
#include <variant>

namespace quorin {

template <class E>
class unexpected {
public:
    template <class... A>
    constexpr explicit unexpected(std::in_place_t, A&&... a) : error_(std::forward<A>(a)...) {}
    constexpr explicit unexpected(E e) : error_(std::move(e)) {}

    constexpr E& error() & noexcept { return error_; }
    constexpr const E& error() const& noexcept { return error_; }
    constexpr E&& error() && noexcept { return std::move(error_); }

private:
    E error_;
};

// A value or an error, never both: index 0 of the variant is the value.
template <class T, class E>
class expected {
public:
    template <class U = T>
        requires std::is_constructible_v<T, U&&>
    constexpr expected(U&& value) : v_(std::in_place_index<0>, std::forward<U>(value)) {}
    template <class G>
    constexpr expected(unexpected<G> e) : v_(std::in_place_index<1>, std::move(e).error()) {}

    constexpr bool has_value() const noexcept { return v_.index() == 0; }
    constexpr explicit operator bool() const noexcept { return has_value(); }

    constexpr T& operator*() & noexcept { return *std::get_if<0>(&v_); }
    constexpr const T& operator*() const& noexcept { return *std::get_if<0>(&v_); }
    constexpr T&& operator*() && noexcept { return std::move(*std::get_if<0>(&v_)); }
    constexpr T* operator->() noexcept { return std::get_if<0>(&v_); }
    constexpr const T* operator->() const noexcept { return std::get_if<0>(&v_); }

    constexpr E& error() & noexcept { return *std::get_if<1>(&v_); }
    constexpr const E& error() const& noexcept { return *std::get_if<1>(&v_); }
    constexpr E&& error() && noexcept { return std::move(*std::get_if<1>(&v_)); }

private:
    std::variant<T, E> v_;
};

}  // namespace quorin

#endif
