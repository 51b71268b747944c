#include "base/FileHandle.h"

#include "base/FileProblem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace drovak {

namespace {

FileInfo InfoOf(const struct stat& s) {
    return {uint64_t(s.st_dev),        uint64_t(s.st_ino),  uint32_t(s.st_mode),
            uint32_t(s.st_uid),        uint32_t(s.st_gid),  uint64_t(s.st_size),
            int64_t(s.st_mtim.tv_sec), uint64_t(s.st_nlink)};
}

// How often a path that keeps naming another file is opened again before giving up.
constexpr int REOPEN_ATTEMPTS = 20;

bool HeldElsewhere(int error) {
    return error == EWOULDBLOCK || error == EAGAIN || error == EACCES;
}

// Refuses a file that may not be changed in place: no write bit at all in its mode (which
// root would otherwise ignore), or no write permission for this user.
void RefuseReadOnly(const std::string& path, const FileInfo& info, int openError) {
    using K = FileProblemKind;
    if ((info.mode & 0222) == 0) ThrowFileProblem(K::ReadOnlyMode, path);
    if (openError == EACCES || openError == EPERM) ThrowFileProblem(K::ReadOnlyForUser, path);
    if (openError == EROFS) ThrowFileProblem(K::ReadOnlyFileSystem, path);
    if (openError != 0) ThrowFileProblem(K::CannotOpenToChange, path, openError);
}

} // namespace

bool FileInfo::IsRegular() const {
    return S_ISREG(mode);
}
bool FileInfo::IsFolder() const {
    return S_ISDIR(mode);
}
bool FileInfo::IsSymbolicLink() const {
    return S_ISLNK(mode);
}
bool FileInfo::IsFifo() const {
    return S_ISFIFO(mode);
}
bool FileInfo::IsCharacterDevice() const {
    return S_ISCHR(mode);
}

FileType FileTypeOf(uint32_t mode) {
    if (S_ISREG(mode)) return FileType::Regular;
    if (S_ISDIR(mode)) return FileType::Folder;
    if (S_ISLNK(mode)) return FileType::SymbolicLink;
    if (S_ISFIFO(mode)) return FileType::Fifo;
    if (S_ISCHR(mode)) return FileType::CharacterDevice;
    if (S_ISBLK(mode)) return FileType::BlockDevice;
    if (S_ISSOCK(mode)) return FileType::Socket;
    return FileType::Other;
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
    if (path.empty()) ThrowFileProblem(FileProblemKind::NoFileName, path);
    FileHandle handle;
    handle.fd_ = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, createMode);
    if (handle.fd_ < 0) {
        const int error = errno;
        ThrowFileProblem({.kind = FileProblemKind::CannotOpen,
                          .path = path,
                          .error = error,
                          .flag = (flags & O_ACCMODE) != O_RDONLY});
    }
    struct stat s {};
    if (::fstat(handle.fd_, &s) != 0) ThrowFileProblem(FileProblemKind::CannotStat, path, errno);
    handle.info_ = InfoOf(s);
    return handle;
}

FileHandle FileHandle::CreateNew(const std::string& path, int& error) {
    FileHandle handle;
    handle.fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    error = handle.fd_ < 0 ? errno : 0;
    if (handle.fd_ < 0) return handle;
    struct stat s {};
    if (::fstat(handle.fd_, &s) == 0) handle.info_ = InfoOf(s);
    handle.Lock(path, true);
    return handle;
}

FileHandle FileHandle::OpenLocked(const std::string& path, bool exclusive, bool forChange) {
    for (int attempt = 1;; ++attempt) {
        FileHandle handle = Open(path, O_RDONLY);
        if (!handle.info_.IsRegular()) {
            ThrowFileProblem(
                {.kind = FileProblemKind::NotRegular, .path = path, .mode = handle.info_.mode});
        }
        if (forChange) {
            // The permission to write it in place is asked of the file itself, by opening it
            // for writing; the open also gives the record lock a descriptor that may hold a
            // write lock.
            RefuseReadOnly(path, handle.info_, 0);
            const int writable = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (writable < 0) RefuseReadOnly(path, handle.info_, errno);
            FileHandle other;
            other.fd_ = writable;
            struct stat s {};
            if (::fstat(writable, &s) == 0 && InfoOf(s).SameFileAs(handle.info_)) {
                other.info_ = handle.info_;
                handle = std::move(other);
            }
        }
        handle.Lock(path, exclusive);
        FileInfo named;
        if (StatPath(path, named) && named.SameFileAs(handle.info_)) return handle;
        if (attempt == REOPEN_ATTEMPTS) {
            ThrowFileProblem(FileProblemKind::KeepsBeingReplaced, path);
        }
    }
}

void FileHandle::Lock(const std::string& path, bool exclusive) {
    if (::flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ThrowFileProblem(FileProblemKind::InUse, path);
    }
    // A record lock for writing needs a descriptor open for writing; a read-only one takes a
    // read lock, which still keeps out every writer.
    const bool writable = (::fcntl(fd_, F_GETFL) & O_ACCMODE) != O_RDONLY;
    struct flock record {};
    record.l_type = short(exclusive && writable ? F_WRLCK : F_RDLCK);
    record.l_whence = SEEK_SET;
    if (::fcntl(fd_, F_OFD_SETLK, &record) != 0 && HeldElsewhere(errno)) {
        ThrowFileProblem(FileProblemKind::InUse, path);
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

bool StatLink(const std::string& path, FileInfo& info) {
    struct stat s {};
    if (::lstat(path.c_str(), &s) != 0) return false;
    info = InfoOf(s);
    return true;
}

std::string LinkTarget(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t size = ::readlink(path.c_str(), target.data(), target.size());
    target.resize(size_t(std::max<ssize_t>(size, 0)));
    return target;
}

} // namespace drovak
