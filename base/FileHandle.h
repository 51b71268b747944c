#pragma once

#include <cstdint>
#include <string>

namespace drovak {

// What fstat said of an open file.
struct FileInfo {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint32_t mode = 0; // type and permission bits
    uint32_t owner = 0;
    uint32_t group = 0;
    uint64_t size = 0;
    bool IsRegular() const;
    bool IsFifo() const;
    bool IsCharacterDevice() const;
    bool SameFileAs(const FileInfo& other) const {
        return device == other.device && inode == other.inode;
    }
};

// What kind of file a mode names, for messages: "a folder", "a FIFO", "a character device"...
std::string FileKind(uint32_t mode);

// An open file descriptor, closed with its owner.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    // Opens path with `flags` plus O_NONBLOCK and O_CLOEXEC, so that no FIFO or device keeps the
    // open waiting. FileError naming the path and the reason when it can't be opened.
    static FileHandle Open(const std::string& path, int flags, unsigned createMode = 0666);

    // Opens an existing regular file and takes its advisory lock, shared or exclusive, without
    // waiting; then checks that the path still names the file it locked (a replacement may have
    // renamed a new file over it meanwhile; that one is opened instead). RefusedError for
    // anything but a regular file, InUseError when another program holds the lock.
    static FileHandle OpenLocked(const std::string& path, int flags, bool exclusive);

    // Takes the advisory lock without waiting; InUseError naming the path when another program
    // holds it.
    void Lock(const std::string& path, bool exclusive);

    int Descriptor() const { return fd_; }
    const FileInfo& Info() const { return info_; }
    // The blocking mode back (reads of a pipe wait for its writer).
    void MakeBlocking();

private:
    int fd_ = -1;
    FileInfo info_;
};

// What stat (following links) says of a path; false when nothing is there.
bool StatPath(const std::string& path, FileInfo& info);

} // namespace drovak
