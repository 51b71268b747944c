#include "base/ReplaceFile.h"

#include "base/Errors.h"
#include "base/FileAttributes.h"
#include "base/SwapFiles.h"
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

// A FIFO or a character device takes the content as it comes: it is written through, after
// an open that does not wait for a reader.
void WriteThrough(const std::string& path, const std::function<void(Stream&)>& write) {
    MemoryStream content;
    write(content);
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(
            path + ": nothing was written: " +
            (errno == ENXIO ? "no program reads from it" : "cannot open: " + SystemReason()));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const std::vector<uint8_t>& bytes = content.Data();
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const std::string reason = SystemReason();
            ::close(fd);
            throw FileError(path + ": cannot write (" + std::to_string(done) + " of " +
                            std::to_string(bytes.size()) + " bytes written): " + reason);
        }
        done += size_t(put);
    }
    ::close(fd);
}

// A new file with nothing to keep from an old one gets the mode any new file gets.
void GiveNewFileMode(const FileHandle& file) {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    (void)::fchmod(file.Descriptor(), 0666 & ~mask);
}

// Gives a temporary file what the old file carries (or a new file's mode), syncs it, and checks
// that its name is still its own before it is renamed.
void Finish(FileStream& file, const std::string& temporary, const FileStream* old,
            const std::string& path) {
    if (old) {
        KeepOwnerModeAndAttributes(old->Handle(), file.Handle(), path);
    } else {
        GiveNewFileMode(file.Handle());
    }
    file.Sync();
    if (!StillNames(temporary, file.Info())) {
        throw RefusedError(path + ": its temporary file " + temporary +
                           " was replaced by another program meanwhile; nothing was written");
    }
}

// Writes a new temporary file beside `beside`, through the descriptor that created it, and
// finishes it (above); returns its path. It is removed again when anything fails.
std::string WriteTemporary(const std::string& beside, const std::function<void(Stream&)>& write,
                           const FileStream* old, const std::string& path) {
    TemporaryFile temporary = CreateTemporaryBeside(beside);
    const FileInfo created = temporary.file.Info();
    try {
        FileStream file(temporary.path, std::move(temporary.file));
        write(file);
        Finish(file, temporary.path, old, path);
    } catch (...) {
        if (StillNames(temporary.path, created)) ::unlink(temporary.path.c_str());
        throw;
    }
    return temporary.path;
}

// A copy of the locked file, synced, under a new temporary name beside `backup`.
std::string CopyBeside(FileStream& locked, const std::string& backup) {
    return WriteTemporary(
        backup,
        [&locked](Stream& copy) {
            locked.Seek(0, SeekOrigin::Begin);
            CopyToEnd(locked, copy);
        },
        &locked, locked.Name());
}

// The locked file at `target`, under a temporary name beside target + ".bak", to be renamed
// to that once the new file is in place: a hard link of it costs nothing; where the file system
// makes none, a copy.
std::string PrepareBackup(const std::string& target, FileStream& locked) {
    const std::string backup = target + ".bak";
    const std::string temporary = TemporaryNameBeside(backup);
    if (MakeHardLink(target, temporary)) {
        FileInfo linked;
        if (StatLink(temporary, linked) && linked.SameFileAs(locked.Info())) return temporary;
        ::unlink(temporary.c_str());
        throw RefusedError(target + ": replaced by another program meanwhile; nothing was written");
    }
    return CopyBeside(locked, backup);
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
    RemoveStaleTemporaries(target);
    std::string temporary;
    std::string pendingBackup;
    try {
        temporary = WriteTemporary(target, write, locked, path);
        if (options.keepBackup) {
            RefuseIfReplacedMeanwhile(path, target, locked->Info());
            pendingBackup = PrepareBackup(target, *locked);
        }
        if (locked) RefuseIfReplacedMeanwhile(path, target, locked->Info());
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
            throw FileError("cannot rename the new file over it: " + SystemReason());
        }
    } catch (const FileError& error) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        throw FileError(path + ": nothing was written: " + error.what());
    } catch (...) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        throw;
    }
    // The earlier backup gives way only now that the new file is in place.
    std::string backup;
    if (!pendingBackup.empty()) {
        backup = target + ".bak";
        if (std::rename(pendingBackup.c_str(), backup.c_str()) != 0) {
            throw FileError(path +
                            ": the new content was written, but the old one could not be "
                            "named " +
                            backup + " (" + SystemReason() + "); it is kept as " + pendingBackup);
        }
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
        CopyToEnd(stream, file);
    });
    stream.Seek(int64_t(kept), SeekOrigin::Begin);
}

} // namespace drovak
