// Linked into portable builds only (portable.cmake), whose linker sends every reference to the
// names below to the __wrap_ definitions here.
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#if defined(__x86_64__)
#define QUORIN_LIBM_OLD "GLIBC_2.15"
#define QUORIN_LIBC_FIRST "GLIBC_2.2.5"
#elif defined(__aarch64__)
#define QUORIN_LIBM_OLD "GLIBC_2.17"  // the first glibc for this processor
#define QUORIN_LIBC_FIRST "GLIBC_2.17"
#else
#error "a portable build knows the old glibc symbol versions of x86-64 and aarch64 only"
#endif

// __wrap_<name> calls <target> as glibc exports it under <version>.
#define QUORIN_BIND(name, target, version, result, params, args)                \
    extern "C" result quorin_bound_##name params;                               \
    __asm__(".symver quorin_bound_" #name ", " #target "@" version);            \
    extern "C" result __wrap_##name params { return quorin_bound_##name args; }

// The libm functions: each forwards to glibc's __<name>_finite, the implementation that
// <name>@GLIBC_2.29 runs, bound to the old symbol version under which glibc exports it.
#define QUORIN_FORWARD(name, params, args) \
    QUORIN_BIND(name, __##name##_finite, QUORIN_LIBM_OLD, double, params, args)

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

// The threads of libpthread moved into libc in glibc 2.34 under a new symbol version; libc
// still exports each under its first version, which is the one a glibc older than 2.34 finds
// in libpthread.so.0 (portable.cmake keeps that library among the needed ones). Same code.
#define QUORIN_THREADS(name, result, params, args) \
    QUORIN_BIND(name, name, QUORIN_LIBC_FIRST, result, params, args)

QUORIN_THREADS(pthread_create, int,
               (pthread_t * thread, const pthread_attr_t* attr, void* (*run)(void*), void* arg),
               (thread, attr, run, arg))
QUORIN_THREADS(pthread_join, int, (pthread_t thread, void** value), (thread, value))
QUORIN_THREADS(pthread_detach, int, (pthread_t thread), (thread))
QUORIN_THREADS(pthread_once, int, (pthread_once_t * once, void (*run)()), (once, run))
QUORIN_THREADS(pthread_key_create, int, (pthread_key_t * key, void (*destroy)(void*)),
               (key, destroy))
QUORIN_THREADS(pthread_key_delete, int, (pthread_key_t key), (key))
QUORIN_THREADS(pthread_getspecific, void*, (pthread_key_t key), (key))
QUORIN_THREADS(pthread_setspecific, int, (pthread_key_t key, const void* value), (key, value))

// A timed wait on a clock other than the wall clock (2.30, std::condition_variable::wait_for)
// becomes a wait until the same moment on the wall clock. A clock step while it waits only
// moves one wake-up; every caller checks its own clock and condition on waking.
extern "C" int __wrap_pthread_cond_clockwait(pthread_cond_t* cond, pthread_mutex_t* mutex,
                                             clockid_t clock, const struct timespec* until) {
    timespec now{}, wall{};
    if (clock == CLOCK_REALTIME || clock_gettime(clock, &now) != 0 ||
        clock_gettime(CLOCK_REALTIME, &wall) != 0)
        return pthread_cond_timedwait(cond, mutex, until);
    constexpr long long kNano = 1000000000LL;
    long long left = (until->tv_sec - now.tv_sec) * kNano + (until->tv_nsec - now.tv_nsec);
    long long at = wall.tv_sec * kNano + wall.tv_nsec + (left > 0 ? left : 0);
    timespec moment{};
    moment.tv_sec = at / kNano;
    moment.tv_nsec = at % kNano;
    return pthread_cond_timedwait(cond, mutex, &moment);
}
