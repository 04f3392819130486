// Reading text arguments as Unicode scalar values. The frame hands every text over as the UTF-8
// bytes of a Python str, which are always well formed; the reader nevertheless never steps past
// the end of its view, so a malformed or truncated sequence can only yield a wrong scalar,
// never an out-of-bounds read.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorin::utf8 {

// Bytes taken by the sequence that starts with `lead`: 1 for ASCII, else 2, 3 or 4 by the
// number of leading one bits. A stray continuation byte counts as a one-byte unit.
constexpr std::size_t width(unsigned char lead) noexcept {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// Walks a view one scalar value at a time.
class Reader {
public:
    explicit Reader(std::string_view text) noexcept
        : p_(reinterpret_cast<const unsigned char*>(text.data())), end_(p_ + text.size()) {}

    bool done() const noexcept { return p_ == end_; }

    // The next scalar value; call only when !done().
    char32_t next() noexcept {
        unsigned char lead = *p_++;
        if (lead < 0x80) return lead;
        std::size_t n = width(lead);
        if (n == 1) return lead;  // stray continuation byte
        char32_t c = lead & (0x7Fu >> n);
        for (std::size_t k = 1; k < n && p_ != end_; ++k) c = (c << 6) | (*p_++ & 0x3Fu);
        return c;
    }

    // The byte the next scalar starts with; call only when !done().
    unsigned char peek() const noexcept { return *p_; }
    void skip_byte() noexcept { ++p_; }

    // Direct access for block scans over ASCII runs.
    const unsigned char* data() const noexcept { return p_; }
    std::size_t remaining() const noexcept { return static_cast<std::size_t>(end_ - p_); }
    void skip(std::size_t n) noexcept { p_ += n; }

private:
    const unsigned char* p_;
    const unsigned char* end_;
};

}  // namespace quorin::utf8
