#include "base/ReplaceFile.h"

#include "base/Errors.h"
#include "base/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace drovak {

namespace {

std::string Reason() {
    return std::strerror(errno);
}

// A FIFO or a character device takes the content as it comes: it is written through, after
// an open that does not wait for a reader.
void WriteThrough(const std::string& path, const std::function<void(Stream&)>& write) {
    MemoryStream content;
    write(content);
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(path + ": nothing was written: " +
                        (errno == ENXIO ? "no program reads from it" : "cannot open: " + Reason()));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const std::vector<uint8_t>& bytes = content.Data();
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const std::string reason = Reason();
            ::close(fd);
            throw FileError(path + ": cannot write (" + std::to_string(done) + " of " +
                            std::to_string(bytes.size()) + " bytes written): " + reason);
        }
        done += size_t(put);
    }
    ::close(fd);
}

// The replaced file's mode, and its owner where the process may set it.
void KeepOwnerAndMode(const FileStream& file, const FileInfo& old) {
    if (::fchown(file.Descriptor(), old.owner, old.group) != 0) {
        // Not ours to give away; the group alone may still be allowed.
        (void)::fchown(file.Descriptor(), uid_t(-1), old.group);
    }
    ::fchmod(file.Descriptor(), old.mode & 07777);
}

// A copy of the locked file, synced, under a new temporary name beside `backup`.
std::string CopyBeside(FileStream& locked, const std::string& backup) {
    const std::string temporary = CreateTemporaryBeside(backup);
    try {
        FileStream copy(temporary, FileMode::Create);
        KeepOwnerAndMode(copy, locked.Info());
        locked.Seek(0, SeekOrigin::Begin);
        std::vector<uint8_t> chunk(1 << 20);
        for (size_t n; (n = locked.Read(chunk.data(), chunk.size())) != 0;)
            copy.Write(chunk.data(), n);
        copy.Sync();
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    return temporary;
}

// Keeps the locked file at `target` as target + ".bak": a hard link of it costs nothing; where
// the file system makes none, a copy.
std::string KeepBackup(const std::string& target, FileStream& locked) {
    const std::string backup = target + ".bak";
    std::string temporary = TemporaryNameBeside(backup);
    if (::link(target.c_str(), temporary.c_str()) != 0) temporary = CopyBeside(locked, backup);
    const bool renamed = std::rename(temporary.c_str(), backup.c_str()) == 0;
    const std::string reason = Reason();
    // A backup that is already this file (a change that failed after its backup was made)
    // leaves the link in place: rename does nothing between two names of one file.
    ::unlink(temporary.c_str());
    if (!renamed) throw FileError("cannot keep the old content as " + backup + ": " + reason);
    return backup;
}

void RefuseIfReplacedMeanwhile(const std::string& path, const std::string& target,
                               const FileInfo& old) {
    FileInfo now;
    if (!StatPath(target, now) || !now.SameFileAs(old)) {
        throw RefusedError(path + ": replaced by another program meanwhile; nothing was written");
    }
}

} // namespace

std::string ReplaceFile(const std::string& path, const std::function<void(Stream&)>& write,
                        const ReplaceOptions& options) {
    if (path.empty()) throw FileError("No file name given");
    if (options.keepBackup && options.locked == nullptr) {
        throw std::logic_error("a backup is kept only of a file the caller has locked");
    }
    const std::string target = ReplacementTarget(path);
    FileStream* locked = options.locked;
    std::unique_ptr<FileStream> ownLock;
    FileInfo old;
    if (locked == nullptr && StatPath(target, old)) {
        if (old.IsFifo() || old.IsCharacterDevice()) {
            WriteThrough(path, write);
            return "";
        }
        if (!old.IsRegular()) {
            throw FileError(path + ": is " + FileKind(old.mode) +
                            ", not a regular file; nothing was written");
        }
        ownLock = std::make_unique<FileStream>(target, FileMode::Replace);
        locked = ownLock.get();
    }

    const std::string folder = FolderOf(target);
    RemoveStaleTemporaries(folder);
    std::string temporary;
    std::string backup;
    try {
        temporary = CreateTemporaryBeside(target);
        {
            FileStream file(temporary, FileMode::Create);
            write(file);
            if (locked) KeepOwnerAndMode(file, locked->Info());
            file.Sync();
        }
        if (options.keepBackup) {
            RefuseIfReplacedMeanwhile(path, target, locked->Info());
            backup = KeepBackup(target, *locked);
        }
        if (locked) RefuseIfReplacedMeanwhile(path, target, locked->Info());
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
            throw FileError("cannot rename the new file over it: " + Reason());
        }
    } catch (const FileError& error) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        throw FileError(path + ": nothing was written: " + error.what());
    } catch (...) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        throw;
    }
    std::string reason;
    if (!SyncFolder(folder, reason)) {
        throw FileError(path + ": the new content was written" +
                        (backup.empty() ? "" : " (the old one kept as " + backup + ")") +
                        ", but its folder could not be synced to storage: " + reason);
    }
    return backup;
}

void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write) {
    ReplaceFile(path, write);
}

void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileReplacing(path, [&bytes](Stream& file) {
        if (!bytes.empty()) file.Write(bytes.data(), bytes.size());
    });
}

void SaveStreamToFile(Stream& stream, const std::string& path) {
    const uint64_t kept = stream.Position();
    WriteFileReplacing(path, [&stream](Stream& file) {
        stream.Seek(0, SeekOrigin::Begin);
        std::vector<uint8_t> chunk(64 * 1024);
        for (size_t n; (n = stream.Read(chunk.data(), chunk.size())) != 0;)
            file.Write(chunk.data(), n);
    });
    stream.Seek(int64_t(kept), SeekOrigin::Begin);
}

void SwapFiles(const std::string& first, const std::string& second) {
    const std::string notSwapped = first + ": nothing was changed: cannot swap it with " + second;
    if (::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
            throw FileError(notSwapped + ": " + Reason());
        }
        // No exchange on this file system: first's file gets another name (not a temporary
        // one: a run killed in the middle leaves it for the user), second's file takes first's
        // place, and first's file then second's.
        const std::string held = second + ".swap";
        if (::link(first.c_str(), held.c_str()) != 0) throw FileError(notSwapped + ": " + Reason());
        if (std::rename(second.c_str(), first.c_str()) != 0) {
            const std::string reason = Reason();
            ::unlink(held.c_str());
            throw FileError(notSwapped + ": " + reason);
        }
        if (std::rename(held.c_str(), second.c_str()) != 0) {
            throw FileError(first + ": now holds what " + second + " held, but the old " + first +
                            " could not be named " + second + " (" + Reason() + "); it is " + held);
        }
    }
    std::string reason;
    if (!SyncFolder(FolderOf(first), reason)) {
        throw FileError(first + ": swapped with " + second +
                        ", but the folder could not be synced to storage: " + reason);
    }
}

} // namespace drovak
