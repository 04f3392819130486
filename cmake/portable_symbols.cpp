// Linked into portable builds only (portable.cmake), whose linker sends every reference to the
// names below to the __wrap_ definitions here.
#include <unistd.h>

// The libm functions: each forwards to glibc's __<name>_finite, the implementation that
// <name>@GLIBC_2.29 runs, bound to the old symbol version under which glibc exports it.
#if defined(__x86_64__)
#define QUORIN_LIBM_OLD "GLIBC_2.15"
#elif defined(__aarch64__)
#define QUORIN_LIBM_OLD "GLIBC_2.17"  // the first glibc for this processor
#else
#error "a portable build knows the old libm symbol versions of x86-64 and aarch64 only"
#endif

#define QUORIN_FORWARD(name, params, args)                                       \
    extern "C" double __##name##_finite params;                                 \
    __asm__(".symver __" #name "_finite, __" #name "_finite@" QUORIN_LIBM_OLD); \
    extern "C" double __wrap_##name params { return __##name##_finite args; }

QUORIN_FORWARD(exp, (double x), (x))
QUORIN_FORWARD(log, (double x), (x))
QUORIN_FORWARD(pow, (double x, double y), (x, y))
QUORIN_FORWARD(exp2, (double x), (x))
QUORIN_FORWARD(log2, (double x), (x))

// What libstdc++ built on glibc 2.32 and later refers to. __libc_single_threaded only lets it
// skip atomic instructions while a process has one thread: "no" is always correct. arc4random
// (2.36) serves std::random_device, which quorin never constructs; getentropy (2.25) gives the
// same kind of bytes.
extern "C" {
char __wrap___libc_single_threaded = 0;
unsigned __wrap_arc4random() {
    unsigned value = 0;
    getentropy(&value, sizeof value);
    return value;
}
}
