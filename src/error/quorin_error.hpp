// The outcome of a failed precondition, and the result type of every contract core.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "error/expected.hpp"

namespace quorin {

// One message, nothing else. Fixed texts are kept as a pointer to the literal so that a failed
// precondition costs no allocation until the message is raised; the few messages that embed a
// run-time value own their text.
class QuorinError {
public:
    explicit QuorinError(const char* literal) noexcept : literal_(literal) {}
    explicit QuorinError(std::string owned) : literal_(nullptr), owned_(std::move(owned)) {}

    std::string_view message() const noexcept {
        return literal_ ? std::string_view(literal_) : std::string_view(owned_);
    }

private:
    const char* literal_;
    std::string owned_;
};

template <class T>
using Result = expected<T, QuorinError>;

// `return fail("Quorin.X: ...");` reads as the precondition it reports.
inline unexpected<QuorinError> fail(const char* literal) noexcept {
    return unexpected<QuorinError>(std::in_place, literal);
}
inline unexpected<QuorinError> fail(std::string owned) {
    return unexpected<QuorinError>(std::in_place, std::move(owned));
}
// Passes on the error of a step the core depends on.
inline unexpected<QuorinError> fail(QuorinError&& error) noexcept {
    return unexpected<QuorinError>(std::move(error));
}

}  // namespace quorin
