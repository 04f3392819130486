// Kernels compiled twice: for 16-byte vectors everywhere, and on x86-64 for AVX2 as well, chosen
// at run time. Code between QUORIN_AVX2_BEGIN and QUORIN_AVX2_END is compiled for AVX2.
#pragma once

#if defined(__x86_64__)
#if defined(__clang__)
#define QUORIN_AVX2_BEGIN \
    _Pragma("clang attribute push(__attribute__((target(\"avx2\"))), apply_to = function)")
#define QUORIN_AVX2_END _Pragma("clang attribute pop")
#else
#define QUORIN_AVX2_BEGIN _Pragma("GCC push_options") _Pragma("GCC target(\"avx2\")")
#define QUORIN_AVX2_END _Pragma("GCC pop_options")
#endif
#endif

namespace quorin::isa {

// Whether this processor runs AVX2 (always false off x86-64).
inline bool has_avx2() noexcept {
#if defined(__x86_64__)
    static const bool avx2 = [] {
        __builtin_cpu_init();  // may run before the library's own initialiser
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
#else
    return false;
#endif
}

}  // namespace quorin::isa
