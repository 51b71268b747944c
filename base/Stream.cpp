#include "base/Stream.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/FileProblem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
        // A read that starts past the end stops where it starts: the data ends before that.
        ThrowFileProblem({.kind = FileProblemKind::TooShort,
                          .path = Name(),
                          .count = count,
                          .at = at,
                          .end = std::min(at + got, Size())});
    }
}

void CopyToEnd(Stream& from, Stream& to) {
    std::vector<uint8_t> chunk(1 << 20);
    for (size_t n; (n = from.Read(chunk.data(), chunk.size())) != 0;) to.Write(chunk.data(), n);
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

namespace {

// Where a seek lands: offset from the beginning, the position or the end; never before 0.
uint64_t SeekTarget(int64_t offset, SeekOrigin origin, uint64_t position, uint64_t size) {
    const int64_t base = origin == SeekOrigin::Begin     ? 0
                         : origin == SeekOrigin::Current ? int64_t(position)
                                                         : int64_t(size);
    return uint64_t(std::max<int64_t>(0, base + offset));
}

// Reads from bytes in memory at the position, which moves past what was read.
size_t ReadAt(std::span<const uint8_t> bytes, uint64_t& position, void* buffer, size_t count) {
    if (position >= bytes.size()) return 0;
    const size_t n = size_t(std::min<uint64_t>(count, bytes.size() - position));
    std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    return n;
}

} // namespace

size_t MemoryStream::Read(void* buffer, size_t count) {
    return ReadAt(data_, position_, buffer, count);
}

void MemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (position_ + count > data_.size()) data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
}

uint64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    position_ = SeekTarget(offset, origin, position_, data_.size());
    if (position_ > data_.size()) data_.resize(position_);
    return position_;
}

size_t ViewStream::Read(void* buffer, size_t count) {
    return ReadAt(bytes_, position_, buffer, count);
}

void ViewStream::Write(const void*, size_t count) {
    if (count == 0) return;
    ThrowFileProblem(FileProblemKind::ReadOnlyView, name_);
}

uint64_t ViewStream::Seek(int64_t offset, SeekOrigin origin) {
    position_ = SeekTarget(offset, origin, position_, bytes_.size());
    return position_;
}

namespace {

constexpr size_t READ_BUFFER_SIZE = 64 * 1024;

} // namespace

FileStream::FileStream(const std::string& path, FileMode mode)
    : path_(path),
      file_(FileHandle::OpenLocked(path, mode == FileMode::Replace, mode == FileMode::Replace)),
      size_(file_.Info().size) {}

FileStream::FileStream(const std::string& name, FileHandle file)
    : path_(name), file_(std::move(file)), size_(file_.Info().size) {}

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
            got = ::pread(fd(), buffer_.data(), READ_BUFFER_SIZE, off_t(position_));
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            const int error = errno;
            ThrowFileProblem({.kind = FileProblemKind::CannotReadAt,
                              .path = path_,
                              .error = error,
                              .at = position_});
        }
        bufferStart_ = position_;
        bufferFill_ = size_t(got);
        if (got == 0) break;
    }
    return done;
}

void FileStream::Write(const void* buffer, size_t count) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t put = ::pwrite(fd(), in + done, count - done, off_t(position_ + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const int error = errno;
            ThrowFileProblem({.kind = FileProblemKind::CannotWriteAt,
                              .path = path_,
                              .error = error,
                              .at = position_ + done});
        }
        done += size_t(put);
    }
    // Whatever was buffered may now be stale.
    bufferFill_ = 0;
    position_ += done;
    size_ = std::max(size_, position_);
}

uint64_t FileStream::Seek(int64_t offset, SeekOrigin origin) {
    position_ = SeekTarget(offset, origin, position_, size_);
    return position_;
}

void FileStream::Sync() {
    if (::fsync(fd()) != 0) ThrowFileProblem(FileProblemKind::CannotSync, path_, errno);
}

} // namespace drovak
