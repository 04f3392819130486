# quorin_portable(<target>): makes an extension that loads on Linux systems with an older glibc
# than the one that builds it, for a manylinux wheel, without changing any result.
#
# - libstdc++ is linked in, its symbols kept out of the export table, so the wheel needs no
#   particular C++ runtime. libgcc stays the system's libgcc_s, which every manylinux system
#   has: the static unwinder of GCC 12 and later needs glibc 2.35 (_dl_find_object).
# - exp, log, pow, exp2 and log2 carry the symbol version GLIBC_2.29 since glibc 2.29. The older
#   versions of those names are compatibility wrappers that do not return the same values
#   everywhere (log of a negative number gives a NaN of the opposite sign), so they are not
#   used. The calls go instead to glibc's __<name>_finite entry points: the very implementation
#   the GLIBC_2.29 functions run (those add only errno, which quorin never reads), exported
#   under an old version since glibc 2.15 (portable_symbols.cpp).
# - Two names that the static libstdc++ refers to when built on a recent glibc are answered
#   in portable_symbols.cpp too.
# - The threads functions carry the symbol version GLIBC_2.34 since they moved from libpthread
#   into libc; they are bound to their first version instead, which older systems find in
#   libpthread.so.0, and that library is kept needed. pthread_cond_clockwait (2.30) becomes a
#   wall-clock wait.
set(QUORIN_WRAPPED_SYMBOLS exp log pow exp2 log2 __libc_single_threaded arc4random
    pthread_create pthread_join pthread_detach pthread_once pthread_key_create
    pthread_key_delete pthread_getspecific pthread_setspecific pthread_cond_clockwait)

function(quorin_portable target)
    target_sources(${target} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/portable_symbols.cpp")
    list(TRANSFORM QUORIN_WRAPPED_SYMBOLS PREPEND "LINKER:--wrap=" OUTPUT_VARIABLE _wraps)
    target_link_options(${target} PRIVATE -static-libstdc++ "LINKER:--exclude-libs,ALL" ${_wraps}
        "LINKER:--push-state,--no-as-needed,-l:libpthread.so.0,--pop-state")
endfunction()
