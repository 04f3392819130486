// The list arguments of the cores: a read-only view over elements laid out with any steps in
// bytes (contiguous, strided, reversed, a broadcast step of 0, unaligned). A list from Python is
// converted into a vector and seen contiguously; a list from an array is seen where it lies, so
// that no core dimension is ever copied, however long it is or however it is laid out.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

namespace quorin {

// A point in space, (x, y, z): the element of a list-of-triples argument.
using Triple = std::array<double, 3>;

template <class T>
class List;

namespace detail {

// Element i of a list of reals or of triples, read with memcpy (the element may be unaligned).
inline double read_element(const char* p, const std::ptrdiff_t*, double*) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline Triple read_element(const char* p, const std::ptrdiff_t* steps, Triple*) {
    Triple t;
    for (std::ptrdiff_t c = 0; c < 3; ++c) std::memcpy(&t[c], p + c * steps[1], sizeof(double));
    return t;
}

template <class T> inline constexpr int steps_of = 1;
template <> inline constexpr int steps_of<Triple> = 2;

}  // namespace detail

template <class T>
class List {
public:
    static constexpr int kSteps = detail::steps_of<T>;
    using Steps = std::array<std::ptrdiff_t, kSteps>;

    List() = default;
    List(const char* data, std::size_t size, Steps steps) : data_(data), size_(size), steps_(steps) {}
    // Contiguous elements, as a vector holds them.
    explicit List(const std::vector<T>& v)
        : data_(reinterpret_cast<const char*>(v.data())), size_(v.size()), steps_(contiguous()) {}

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    T operator[](std::size_t i) const noexcept {
        return detail::read_element(data_ + static_cast<std::ptrdiff_t>(i) * steps_[0],
                                    steps_.data(), static_cast<T*>(nullptr));
    }
    // Where element i's first value lies, and the steps: for kernels that read in bulk.
    const char* at(std::size_t i) const noexcept {
        return data_ + static_cast<std::ptrdiff_t>(i) * steps_[0];
    }
    const Steps& steps() const noexcept { return steps_; }

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        iterator(const List* l, std::size_t i) : l_(l), i_(i) {}
        T operator*() const noexcept { return (*l_)[i_]; }
        iterator& operator++() noexcept { return ++i_, *this; }
        bool operator!=(const iterator& o) const noexcept { return i_ != o.i_; }
        bool operator==(const iterator& o) const noexcept { return i_ == o.i_; }

    private:
        const List* l_;
        std::size_t i_;
    };
    iterator begin() const noexcept { return {this, 0}; }
    iterator end() const noexcept { return {this, size_}; }

private:
    static constexpr Steps contiguous() {
        if constexpr (kSteps == 1) return {sizeof(double)};
        else return {3 * sizeof(double), sizeof(double)};
    }

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    Steps steps_{};
};

}  // namespace quorin
