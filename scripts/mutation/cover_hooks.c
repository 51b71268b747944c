/* Linked into every program of the mutation tool's coverage build (compiled with
 * -finstrument-functions): the first time a process enters a function of its own executable, one
 * line "EXECUTABLE OFFSET" (the offset in hex from where the executable is loaded) is appended to
 * the file named by DROVAK_COVER_FILE, at once, so that a process killed later still told where it
 * went. Each function is written once a process; without DROVAK_COVER_FILE nothing is written.
 * The file is reached through system calls made directly, not through the C library's functions:
 * the tests' fault library counts and fails those, and the tests must see the same calls as
 * without the coverage. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <link.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#define QUIET __attribute__((no_instrument_function))
#define HIDDEN __attribute__((visibility("hidden"), no_instrument_function))
#define SLOTS (1u << 17)

static _Atomic uintptr_t seen[SLOTS];
static _Atomic int out = -1;
static _Atomic uintptr_t base = 1; /* 1: not known yet */
static char executable[4096];

QUIET static int FirstObject(struct dl_phdr_info* info, size_t size, void* data) {
    (void)size;
    *(uintptr_t*)data = info->dlpi_addr;
    return 1;
}

QUIET static int Output(void) {
    int fd = atomic_load(&out);
    if (fd != -1) return fd;
    const char* path = getenv("DROVAK_COVER_FILE");
    long length = syscall(SYS_readlink, "/proc/self/exe", executable, sizeof executable - 1);
    if (!path || length <= 0) {
        fd = -2;
    } else {
        executable[length] = '\0';
        uintptr_t loaded = 0;
        dl_iterate_phdr(FirstObject, &loaded);
        atomic_store(&base, loaded);
        fd = (int)syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                          0644);
        if (fd < 0) fd = -2;
    }
    int expected = -1;
    if (!atomic_compare_exchange_strong(&out, &expected, fd)) {
        if (fd >= 0) syscall(SYS_close, fd);
        fd = expected;
    }
    return fd;
}

QUIET static void Record(uintptr_t function) {
    const int fd = Output();
    const uintptr_t loaded = atomic_load(&base);
    if (fd < 0 || function < loaded) return;
    char line[4200];
    const int length = snprintf(line, sizeof line, "%s %lx\n", executable,
                                (unsigned long)(function - loaded));
    if (length > 0 && length < (int)sizeof line) syscall(SYS_write, fd, line, (size_t)length);
}

HIDDEN void __cyg_profile_func_enter(void* function, void* site) {
    (void)site;
    const uintptr_t address = (uintptr_t)function;
    unsigned slot = (unsigned)((address >> 4) * 2654435761u) & (SLOTS - 1);
    for (unsigned tried = 0; tried < SLOTS; ++tried, slot = (slot + 1) & (SLOTS - 1)) {
        uintptr_t held = atomic_load_explicit(&seen[slot], memory_order_relaxed);
        if (held == address) return;
        if (held == 0) {
            if (atomic_compare_exchange_strong(&seen[slot], &held, address)) {
                Record(address);
                return;
            }
            if (held == address) return;
        }
    }
}

HIDDEN void __cyg_profile_func_exit(void* function, void* site) {
    (void)function;
    (void)site;
}
