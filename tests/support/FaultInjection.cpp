// A test-only preload library (LD_PRELOAD) for the programs the tests run: it counts the calls
// through which a program changes files (write, pwrite, fsync, fdatasync, rename, renameat,
// renameat2, link, linkat; writes to stdin, stdout and stderr are not counted) and makes the Nth
// of them fail, or kills the process just before it.
//   DROVAK_FAULT_AT=N     the call to act on, counted from 1 (unset: none)
//   DROVAK_FAULT=eio|enospc|einval|eintr|kill|short
//                         fail it with EIO, ENOSPC, EINVAL or EINTR (a signal came first),
//                         SIGKILL the process instead, or (a write) write only the first half of
//                         it, as a signal may cut a write short on some file systems
//   DROVAK_FAULT_LOG=PATH one line per counted call: "N NAME FILE [FILE]" (file names only)
//   DROVAK_FAIL_ALWAYS=NAME:ERROR,...
//                         every call of NAME fails with ERROR (einval, eperm or eio), as on a file
//                         system without it ("renameat2:einval,link:eperm" is FAT's);
//                         fsetxattr, fcntl (record locks only, as on a file system without
//                         them), fopen (as without /proc), read (of a device or pipe:
//                         files are read with pread) and pthread_create (always with EAGAIN, as
//                         on a system with no thread to give) fail only here (not counted)
//   DROVAK_SWAP_TO=PATH   another program's move just before a temporary file is renamed over
//                         anything but a backup: its name then holds a symbolic link to PATH
//                         (with DROVAK_SWAP_HARD set, a hard link of PATH)
//   DROVAK_REPLACE_LOCKED=N
//                         another program's save over each of the first N files the program
//                         locks (flock), just after the lock: a new file of the same bytes
//                         takes the name
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Settings {
    long at = 0;
    int error = EIO;
    bool kill = false;
    bool cut = false; // the write is cut short, not failed
    int log = -1;
    const char* always = nullptr; // "NAME:ERROR,..."
};

int ErrorNamed(const char* name) {
    return std::strncmp(name, "enospc", 6) == 0   ? ENOSPC
           : std::strncmp(name, "einval", 6) == 0 ? EINVAL
           : std::strncmp(name, "eperm", 5) == 0  ? EPERM
           : std::strncmp(name, "eintr", 5) == 0  ? EINTR
                                                  : EIO;
}

// The error every call of `call` fails with, or 0.
int AlwaysFails(const Settings& settings, const char* call) {
    const size_t length = std::strlen(call);
    for (const char* at = settings.always; at && *at;) {
        if (std::strncmp(at, call, length) == 0 && at[length] == ':')
            return ErrorNamed(at + length + 1);
        at = std::strchr(at, ',');
        if (at) ++at;
    }
    return 0;
}

const Settings& Get() {
    static const Settings settings = [] {
        Settings s;
        if (const char* at = std::getenv("DROVAK_FAULT_AT")) s.at = std::atol(at);
        if (const char* fault = std::getenv("DROVAK_FAULT")) {
            s.kill = std::strcmp(fault, "kill") == 0;
            s.cut = std::strcmp(fault, "short") == 0;
            s.error = ErrorNamed(fault);
        }
        s.always = std::getenv("DROVAK_FAIL_ALWAYS");
        if (const char* log = std::getenv("DROVAK_FAULT_LOG"))
            s.log = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        return s;
    }();
    return settings;
}

std::atomic<long> calls{0};

const char* NameOf(const char* path) {
    const char* slash = path ? std::strrchr(path, '/') : nullptr;
    return slash ? slash + 1 : (path ? path : "-");
}

// Whether every call of `call` fails (errno set), as on a file system without it.
bool FailsAlways(const char* call) {
    const int error = AlwaysFails(Get(), call);
    if (error != 0) errno = error;
    return error != 0;
}

// Counts a call; true when it is the one to fail (errno set). Logged before it acts.
bool Fails(const char* call, const char* first, const char* second = nullptr) {
    const Settings& settings = Get();
    const long n = ++calls;
    if (settings.log >= 0) {
        char line[8192];
        const int length =
            std::snprintf(line, sizeof line, "%ld %s %s%s%s\n", n, call, NameOf(first),
                          second ? " " : "", second ? NameOf(second) : "");
        ::syscall(SYS_write, settings.log, line, size_t(length));
    }
    if (n != settings.at) return FailsAlways(call);
    if (settings.cut) return std::strstr(call, "write") != nullptr; // only a write is cut
    if (settings.kill) ::raise(SIGKILL);
    errno = settings.error;
    return true;
}

// The file an open descriptor is open on, into target; false (and "") where it can't be told.
bool FileOf(int fd, char (&target)[4096]) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    target[length > 0 ? length : 0] = '\0';
    return length > 0;
}

// Counts a call on an open descriptor, named by the file it is open on.
bool FailsOnFile(const char* call, int fd) {
    char target[4096];
    return Fails(call, FileOf(fd, target) ? target : "?");
}

void SwapTemporary(const char* from, const char* to) {
    static const char* victim = std::getenv("DROVAK_SWAP_TO");
    if (!victim || !std::strstr(from, ".drovak-") || std::strstr(to, ".bak")) return;
    ::unlink(from);
    if (std::getenv("DROVAK_SWAP_HARD")) {
        ::syscall(SYS_linkat, AT_FDCWD, victim, AT_FDCWD, from, 0);
    } else {
        ::symlink(victim, from);
    }
}

// Another program's save over the file just locked: a new file of the same bytes takes its name.
void ReplaceLocked(int fd) {
    static std::atomic<long> left = [] {
        const char* count = std::getenv("DROVAK_REPLACE_LOCKED");
        return count ? std::atol(count) : 0L;
    }();
    if (left.fetch_sub(1) <= 0) return;
    static const auto write =
        reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(::dlsym(RTLD_NEXT, "write"));
    static const auto rename =
        reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
    char path[4096];
    if (!FileOf(fd, path)) return;
    const std::string copy = std::string(path) + ".replacing";
    const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    char buffer[65536];
    ssize_t got = 0;
    for (off_t at = 0; (got = ::pread(fd, buffer, sizeof buffer, at)) > 0; at += got)
        write(out, buffer, size_t(got));
    ::close(out);
    rename(copy.c_str(), path);
}

} // namespace

// A C library function that fails (returning -1) when `fails` says so, else is passed on.
#define INTERCEPT(result, name, parameters, arguments, fails)                                      \
    extern "C" result name parameters {                                                            \
        static const auto real =                                                                   \
            reinterpret_cast<result(*) parameters>(::dlsym(RTLD_NEXT, #name));                     \
        return (fails) ? -1 : real arguments;                                                      \
    }

// A write that fails, or is cut to half its size (a byte at least) under DROVAK_FAULT=short.
#define INTERCEPT_WRITE(name, counted, parameters, arguments, halved)                              \
    extern "C" ssize_t name parameters {                                                           \
        static const auto real =                                                                   \
            reinterpret_cast<ssize_t(*) parameters>(::dlsym(RTLD_NEXT, #name));                    \
        if (fd <= 2 || !FailsOnFile(counted, fd)) return real arguments;                           \
        return Get().cut && size > 1 ? real halved : -1;                                           \
    }

INTERCEPT_WRITE(write, "write", (int fd, const void* data, size_t size), (fd, data, size),
                (fd, data, size / 2))
INTERCEPT_WRITE(pwrite, "pwrite", (int fd, const void* data, size_t size, off_t at),
                (fd, data, size, at), (fd, data, size / 2, at))
INTERCEPT_WRITE(pwrite64, "pwrite", (int fd, const void* data, size_t size, off_t at),
                (fd, data, size, at), (fd, data, size / 2, at))
INTERCEPT(int, fsync, (int fd), (fd), FailsOnFile("fsync", fd))
INTERCEPT(int, fdatasync, (int fd), (fd), FailsOnFile("fdatasync", fd))
INTERCEPT(int, rename, (const char* from, const char* to), (from, to),
          (SwapTemporary(from, to), Fails("rename", from, to)))
INTERCEPT(int, renameat, (int fromDir, const char* from, int toDir, const char* to),
          (fromDir, from, toDir, to), Fails("renameat", from, to))
INTERCEPT(int, renameat2,
          (int fromDir, const char* from, int toDir, const char* to, unsigned flags),
          (fromDir, from, toDir, to, flags), Fails("renameat2", from, to))
INTERCEPT(int, link, (const char* from, const char* to), (from, to), Fails("link", from, to))
INTERCEPT(int, linkat, (int fromDir, const char* from, int toDir, const char* to, int flags),
          (fromDir, from, toDir, to, flags), Fails("linkat", from, to))
// Not counted: it fails only as on a file system, or for a user, that can't have the attribute.
INTERCEPT(int, fsetxattr, (int fd, const char* name, const void* value, size_t size, int flags),
          (fd, name, value, size, flags), FailsAlways("fsetxattr"))
// Not counted: a device or pipe that fails to read.
INTERCEPT(ssize_t, read, (int fd, void* data, size_t size), (fd, data, size),
          fd > 2 && FailsAlways("read"))
// Not counted: a system that has no thread to give.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
    static const auto real =
        reinterpret_cast<int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)>(
            ::dlsym(RTLD_NEXT, "pthread_create"));
    return AlwaysFails(Get(), "pthread_create") ? EAGAIN
                                                : real(thread, attributes, start, argument);
}
extern "C" int flock(int fd, int operation) {
    static const auto real = reinterpret_cast<int (*)(int, int)>(::dlsym(RTLD_NEXT, "flock"));
    const int result = real(fd, operation);
    if (result == 0) ReplaceLocked(fd);
    return result;
}
// Not counted: a file system without record locks; every other request is passed on.
#define INTERCEPT_FCNTL(name)                                                                      \
    extern "C" int name(int fd, int command, ...) {                                                \
        static const auto real =                                                                   \
            reinterpret_cast<int (*)(int, int, ...)>(::dlsym(RTLD_NEXT, #name));                   \
        va_list arguments;                                                                         \
        va_start(arguments, command);                                                              \
        void* argument = va_arg(arguments, void*);                                                 \
        va_end(arguments);                                                                         \
        const bool lock = command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK ||   \
                          command == F_OFD_SETLKW;                                                 \
        return lock && FailsAlways("fcntl") ? -1 : real(fd, command, argument);                    \
    }
INTERCEPT_FCNTL(fcntl)
INTERCEPT_FCNTL(fcntl64)
// Not counted: the program opens no file it writes with it.
extern "C" FILE* fopen(const char* path, const char* mode) {
    static const auto real =
        reinterpret_cast<FILE* (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "fopen"));
    return FailsAlways("fopen") ? nullptr : real(path, mode);
}
