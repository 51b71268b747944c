// A test-only preload library (LD_PRELOAD) for the programs the tests run: it counts the calls
// through which a program changes files (write, pwrite, fsync, fdatasync, rename, renameat,
// renameat2, link, linkat; writes to stdin, stdout and stderr are not counted) and makes the Nth
// of them fail, or kills the process just before it.
//   DROVAK_FAULT_AT=N     the call to act on, counted from 1 (unset: none)
//   DROVAK_FAULT=eio|enospc|einval|kill
//                         fail it with EIO, ENOSPC or EINVAL, or SIGKILL the process instead
//   DROVAK_FAULT_LOG=PATH one line per counted call: "N NAME FILE [FILE]" (file names only)
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Settings {
    long at = 0;
    int error = EIO;
    bool kill = false;
    int log = -1;
};

const Settings& Get() {
    static const Settings settings = [] {
        Settings s;
        if (const char* at = std::getenv("DROVAK_FAULT_AT")) s.at = std::atol(at);
        if (const char* fault = std::getenv("DROVAK_FAULT")) {
            s.kill = std::strcmp(fault, "kill") == 0;
            s.error = std::strcmp(fault, "enospc") == 0   ? ENOSPC
                      : std::strcmp(fault, "einval") == 0 ? EINVAL
                                                          : EIO;
        }
        if (const char* log = std::getenv("DROVAK_FAULT_LOG")) {
            s.log = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        }
        return s;
    }();
    return settings;
}

std::atomic<long> calls{0};

const char* NameOf(const char* path) {
    const char* slash = path ? std::strrchr(path, '/') : nullptr;
    return slash ? slash + 1 : (path ? path : "-");
}

// The file an open descriptor names (its name only).
void FileOf(int fd, char* name, size_t size) {
    char link[64], target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    target[length > 0 ? length : 0] = '\0';
    std::snprintf(name, size, "%s", NameOf(length > 0 ? target : "?"));
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
    if (n != settings.at) return false;
    if (settings.kill) ::raise(SIGKILL);
    errno = settings.error;
    return true;
}

bool FailsOnFile(const char* call, int fd) {
    char name[4096];
    FileOf(fd, name, sizeof name);
    return Fails(call, name);
}

template <class F> F Real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd > 2 && FailsOnFile("write", fd)) return -1;
    return real(fd, buffer, count);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    if (fd > 2 && FailsOnFile("pwrite", fd)) return -1;
    return real(fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t offset) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
    if (fd > 2 && FailsOnFile("pwrite", fd)) return -1;
    return real(fd, buffer, count, offset);
}

int fsync(int fd) {
    static const auto real = Real<int (*)(int)>("fsync");
    if (FailsOnFile("fsync", fd)) return -1;
    return real(fd);
}

int fdatasync(int fd) {
    static const auto real = Real<int (*)(int)>("fdatasync");
    if (FailsOnFile("fdatasync", fd)) return -1;
    return real(fd);
}

int rename(const char* from, const char* to) {
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    if (Fails("rename", from, to)) return -1;
    return real(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static const auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
    if (Fails("renameat", from, to)) return -1;
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    static const auto real =
        Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    if (Fails("renameat2", from, to)) return -1;
    return real(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    static const auto real = Real<int (*)(const char*, const char*)>("link");
    if (Fails("link", from, to)) return -1;
    return real(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static const auto real = Real<int (*)(int, const char*, int, const char*, int)>("linkat");
    if (Fails("linkat", from, to)) return -1;
    return real(fromDir, from, toDir, to, flags);
}

} // extern "C"
