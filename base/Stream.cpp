#include "base/Stream.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drovak {

void Stream::ReadExact(void* buffer, size_t count) {
    uint64_t at = Position();
    size_t got = 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (got < count) {
        size_t n = Read(bytes + got, count - got);
        if (n == 0) break;
        got += n;
    }
    if (got != count) {
        throw FileError(Name() + ": too short: " + std::to_string(count) + " bytes needed at " +
                        HexText(at) + ", the data ends at " + HexText(at + got));
    }
}

uint32_t Stream::ReadBigEndian32() {
    uint8_t bytes[4];
    ReadExact(bytes, 4);
    return LoadBigEndian32(bytes);
}

void Stream::WriteBigEndian32(uint32_t value) {
    uint8_t bytes[4];
    StoreBigEndian32(bytes, value);
    Write(bytes, 4);
}

size_t MemoryStream::Read(void* buffer, size_t count) {
    if (position_ >= data_.size()) return 0;
    size_t n = std::min(count, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

size_t MemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    if (position_ + count > data_.size()) data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

uint64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    int64_t base = origin == SeekOrigin::Begin     ? 0
                   : origin == SeekOrigin::Current ? int64_t(position_)
                                                   : int64_t(data_.size());
    int64_t target = std::max<int64_t>(0, base + offset);
    if (uint64_t(target) > data_.size()) data_.resize(size_t(target));
    position_ = size_t(target);
    return position_;
}

namespace {

constexpr size_t READ_BUFFER_SIZE = 64 * 1024;

std::string Reason() {
    return std::strerror(errno);
}

} // namespace

FileStream::FileStream(const std::string& path, FileMode mode) : path_(path) {
    if (path.empty()) throw FileError("No file name given");
    int flags = mode == FileMode::Read    ? O_RDONLY
                : mode == FileMode::Patch ? (O_RDWR | O_CREAT)
                                          : (O_WRONLY | O_CREAT | O_TRUNC);
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        std::string what =
            mode == FileMode::Read ? "cannot open for reading" : "cannot open for writing";
        throw FileError(path + ": " + what + ": " + Reason());
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw FileError(path + ": is not a file");
    }
    // Readers share the file; a patch keeps other writers out while it runs.
    int lock = mode == FileMode::Read ? LOCK_SH : LOCK_EX;
    if (::flock(fd_, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd_);
        fd_ = -1;
        throw FileError(path + ": the file is in use by another operation");
    }
    size_ = uint64_t(info.st_size);
}

FileStream::~FileStream() {
    if (fd_ >= 0) ::close(fd_);
}

size_t FileStream::Read(void* buffer, size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count && position_ < size_) {
        if (position_ >= bufferStart_ && position_ < bufferStart_ + bufferFill_) {
            size_t offset = size_t(position_ - bufferStart_);
            size_t n = std::min(count - done, bufferFill_ - offset);
            std::memcpy(out + done, buffer_.data() + offset, n);
            done += n;
            position_ += n;
            continue;
        }
        buffer_.resize(READ_BUFFER_SIZE);
        ssize_t got;
        do {
            got = ::pread(fd_, buffer_.data(), READ_BUFFER_SIZE, off_t(position_));
        } while (got < 0 && errno == EINTR);
        if (got < 0)
            throw FileError(path_ + ": cannot read at " + HexText(position_) + ": " + Reason());
        bufferStart_ = position_;
        bufferFill_ = size_t(got);
        if (got == 0) break;
    }
    return done;
}

size_t FileStream::Write(const void* buffer, size_t count) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t put = ::pwrite(fd_, in + done, count - done, off_t(position_ + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            throw FileError(path_ + ": cannot write at " + HexText(position_ + done) + ": " +
                            Reason());
        }
        done += size_t(put);
    }
    // Whatever was buffered may now be stale.
    bufferFill_ = 0;
    position_ += done;
    size_ = std::max(size_, position_);
    return done;
}

uint64_t FileStream::Seek(int64_t offset, SeekOrigin origin) {
    int64_t base = origin == SeekOrigin::Begin     ? 0
                   : origin == SeekOrigin::Current ? int64_t(position_)
                                                   : int64_t(size_);
    position_ = uint64_t(std::max<int64_t>(0, base + offset));
    return position_;
}

void FileStream::Sync() {
    if (::fsync(fd_) != 0) throw FileError(path_ + ": cannot write to storage: " + Reason());
}

} // namespace drovak
