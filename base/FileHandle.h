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
    int64_t modified = 0; // seconds since 1970
    uint64_t links = 1;   // how many names the file has
    bool IsRegular() const;
    bool IsFolder() const;
    bool IsSymbolicLink() const;
    bool IsFifo() const;
    bool IsCharacterDevice() const;
    bool SameFileAs(const FileInfo& other) const {
        return device == other.device && inode == other.inode;
    }
};

// What kind of file a mode names.
enum class FileType {
    Regular,
    Folder,
    SymbolicLink,
    Fifo,
    CharacterDevice,
    BlockDevice,
    Socket,
    Other
};
FileType FileTypeOf(uint32_t mode);

// An open file descriptor, closed with its owner.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    // Opens path with `flags` plus O_NONBLOCK, O_NOCTTY and O_CLOEXEC, so that no FIFO or device
    // keeps the open waiting and no terminal becomes the program's own. FileError naming the path
    // and the reason when it can't be opened.
    static FileHandle Open(const std::string& path, int flags, unsigned createMode = 0666);

    // Creates a new file at path, exclusively and without following a link there, with mode
    // 0600 (only its owner may read it until its final mode is set), and takes its exclusive
    // lock. A handle that is not open, with the errno value in `error`, when it can't.
    static FileHandle CreateNew(const std::string& path, int& error);
    bool IsOpen() const { return fd_ >= 0; }

    // Opens an existing regular file and takes its locks, shared or exclusive, without
    // waiting; then checks that the path still names the file it locked (a replacement may have
    // renamed a new file over it meanwhile; that one is opened instead). RefusedError for
    // anything but a regular file, InUseError when another program holds a lock. A file opened
    // `forChange` is opened for reading and writing (nothing is written through it): one that
    // this user could not write in place, or whose mode lets no one write it, is refused as
    // read-only.
    static FileHandle OpenLocked(const std::string& path, bool exclusive, bool forChange = false);

    // Takes both kinds of advisory lock without waiting, the whole-file one (flock) and an
    // open-file-description record lock over the whole file, so that programs that use either
    // kind see it; InUseError naming the path when another program holds either. A file system
    // without locks is no reason to refuse.
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
// What lstat (a link itself, not followed) says of a path; false when nothing is there.
bool StatLink(const std::string& path, FileInfo& info);

// Where the symbolic link at `path` leads, as it is written; "" when it is no link.
std::string LinkTarget(const std::string& path);

} // namespace drovak
