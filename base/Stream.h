#pragma once

#include "base/FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace drovak {

enum class SeekOrigin { Begin, Current, End };

// A byte stream over memory or over a file. Read returns the number of bytes read: all that
// were asked for, fewer only where the stream ends (0 at the end); Write writes all it is given or
// throws (FileError). Positions are byte offsets from the start.
class Stream {
public:
    virtual ~Stream() = default;
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual void Write(const void* buffer, size_t count) = 0;
    virtual uint64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual uint64_t Position() const = 0;
    virtual uint64_t Size() const = 0;
    // What the stream reads or writes, for messages: the file's path, or "memory".
    virtual std::string Name() const { return "memory"; }

    // Reads exactly count bytes or throws FileError naming the stream and the position.
    void ReadExact(void* buffer, size_t count);
    // Reads a big-endian 32-bit number exactly (FileError when short).
    uint32_t ReadBigEndian32();
    void WriteBigEndian32(uint32_t value);
};

// Copies what `from` holds from its position to its end into `to`, in chunks.
void CopyToEnd(Stream& from, Stream& to);

// A stream over a growable byte vector. Writing or seeking past the end grows it (the added
// bytes are zero here).
class MemoryStream final : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Position() const override { return position_; }
    uint64_t Size() const override { return data_.size(); }

    const std::vector<uint8_t>& Data() const { return data_; }
    std::vector<uint8_t>& Data() { return data_; }
    std::vector<uint8_t> Take() {
        position_ = 0;
        return std::move(data_);
    }

private:
    std::vector<uint8_t> data_;
    uint64_t position_ = 0;
};

// A read-only stream over bytes it does not own (they must outlive it), named for messages.
class ViewStream final : public Stream {
public:
    ViewStream(std::span<const uint8_t> bytes, std::string name)
        : bytes_(bytes), name_(std::move(name)) {}

    size_t Read(void* buffer, size_t count) override;
    // Refused (FileError): the bytes are not the stream's own.
    void Write(const void*, size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Position() const override { return position_; }
    uint64_t Size() const override { return bytes_.size(); }
    std::string Name() const override { return name_; }

private:
    std::span<const uint8_t> bytes_;
    std::string name_;
    uint64_t position_ = 0;
};

enum class FileMode {
    Read,    // an existing regular file, read-only, under a shared lock: others may read it too
    Replace, // an existing regular file that this user may write, under an exclusive lock: it
             // is read, and its content then replaced whole (base/ReplaceFile.h) while the lock
             // is held; a read-only one is refused (RefusedError)
};

// A stream over a file, with buffered reads. Nothing blocks on the open: a FIFO or a device is
// refused (RefusedError), and so is a file whose lock another program holds (InUseError). Open
// and write failures throw FileError with the path and the reason; the end of the file is not
// an error (Read returns 0).
class FileStream final : public Stream {
public:
    FileStream(const std::string& path, FileMode mode);
    // A stream over a file already open (a new, empty one: base/TemporaryFiles.h), written
    // through its descriptor; `name` is for messages.
    FileStream(const std::string& name, FileHandle file);
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Position() const override { return position_; }
    uint64_t Size() const override { return size_; }
    std::string Name() const override { return path_; }
    // Flushes the file to storage (fsync); throws FileError on failure.
    void Sync();
    // The open file as fstat saw it when it was opened and locked.
    const FileInfo& Info() const { return file_.Info(); }
    int Descriptor() const { return file_.Descriptor(); }
    const FileHandle& Handle() const { return file_; }

private:
    int fd() const { return file_.Descriptor(); }
    std::string path_;
    FileHandle file_;
    uint64_t position_ = 0;
    uint64_t size_ = 0;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t bufferFill_ = 0;
};

} // namespace drovak
