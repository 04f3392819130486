// Code compiled for an instruction set beyond the baseline, chosen at run time: everything
// between QUORIN_TARGET_BEGIN("set") and QUORIN_TARGET_END is compiled for that set. GCC and
// clang spell it differently.
#pragma once

#define QUORIN_PRAGMA(text) _Pragma(#text)
#if defined(__clang__)
#define QUORIN_TARGET_BEGIN(set) \
    QUORIN_PRAGMA(clang attribute push(__attribute__((target(set))), apply_to = function))
#define QUORIN_TARGET_END QUORIN_PRAGMA(clang attribute pop)
#else
#define QUORIN_TARGET_BEGIN(set) QUORIN_PRAGMA(GCC push_options) QUORIN_PRAGMA(GCC target(set))
#define QUORIN_TARGET_END QUORIN_PRAGMA(GCC pop_options)
#endif
