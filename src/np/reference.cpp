#include "np/reference.hpp"

namespace quorin::np {
namespace {

struct Text {
    const char* name;
    const char* text;
};
constexpr Text kTexts[] = {
#define QUORIN_UFUNC_DOC(name, text) {name, text},
#include "np/ufunc_docs.inc"
#undef QUORIN_UFUNC_DOC
};

}  // namespace

const char* reference_text(std::string_view name) noexcept {
    for (const Text& t : kTexts)
        if (name == t.name) return t.text;
    return nullptr;
}

}  // namespace quorin::np
