#include "base/FileHandle.h"

#include "base/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace drovak {

namespace {

FileInfo InfoOf(const struct stat& s) {
    return {uint64_t(s.st_dev), uint64_t(s.st_ino), uint32_t(s.st_mode),
            uint32_t(s.st_uid), uint32_t(s.st_gid), uint64_t(s.st_size)};
}

// How often a path that keeps naming another file is opened again before giving up.
constexpr int REOPEN_ATTEMPTS = 20;

} // namespace

bool FileInfo::IsRegular() const {
    return S_ISREG(mode);
}
bool FileInfo::IsFifo() const {
    return S_ISFIFO(mode);
}
bool FileInfo::IsCharacterDevice() const {
    return S_ISCHR(mode);
}

std::string FileKind(uint32_t mode) {
    if (S_ISREG(mode)) return "a regular file";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), info_(other.info_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        info_ = other.info_;
    }
    return *this;
}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle FileHandle::Open(const std::string& path, int flags, unsigned createMode) {
    if (path.empty()) throw FileError("No file name given");
    FileHandle handle;
    handle.fd_ = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, createMode);
    if (handle.fd_ < 0) {
        const bool writing = (flags & O_ACCMODE) != O_RDONLY;
        throw FileError(path + ": cannot open for " + (writing ? "writing" : "reading") + ": " +
                        std::strerror(errno));
    }
    struct stat s {};
    if (::fstat(handle.fd_, &s) != 0) {
        throw FileError(path + ": cannot open: " + std::strerror(errno));
    }
    handle.info_ = InfoOf(s);
    return handle;
}

FileHandle FileHandle::OpenLocked(const std::string& path, int flags, bool exclusive) {
    for (int attempt = 1;; ++attempt) {
        FileHandle handle = Open(path, flags);
        if (!handle.info_.IsRegular()) {
            throw RefusedError(path + ": is " + FileKind(handle.info_.mode) +
                               ", not a regular file; nothing was read or written");
        }
        handle.Lock(path, exclusive);
        FileInfo named;
        if (StatPath(path, named) && named.SameFileAs(handle.info_)) return handle;
        if (attempt == REOPEN_ATTEMPTS) {
            throw InUseError(path + ": in use by another program (it keeps being replaced); "
                                    "nothing was written");
        }
    }
}

void FileHandle::Lock(const std::string& path, bool exclusive) {
    // A file system without locks is no reason to refuse: only a lock held elsewhere is.
    if (::flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        throw InUseError(path + ": in use by another program; nothing was written");
    }
}

void FileHandle::MakeBlocking() {
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

bool StatPath(const std::string& path, FileInfo& info) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) return false;
    info = InfoOf(s);
    return true;
}

} // namespace drovak
