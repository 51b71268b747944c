#include "base/ReplaceFile.h"

#include "base/Errors.h"
#include "base/FileAttributes.h"
#include "base/FileProblem.h"
#include "base/TemporaryFiles.h"
#include "base/Umask.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
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
        const int error = errno;
        if (error == ENXIO) ThrowFileProblem(FileProblemKind::NoReader, path);
        ThrowFileProblem(FileProblemKind::CannotOpenThrough, path, error);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const std::vector<uint8_t>& bytes = content.Data();
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const int error = errno;
            ::close(fd);
            ThrowFileProblem({.kind = FileProblemKind::CannotWriteThrough,
                              .path = path,
                              .error = error,
                              .count = done,
                              .total = bytes.size()});
        }
        done += size_t(put);
    }
    ::close(fd);
}

// A new file with nothing to keep from an old one gets the mode any new file gets.
void GiveNewFileMode(const FileHandle& file) {
    (void)::fchmod(file.Descriptor(), mode_t(0666 & ~StartupUmask()));
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
        ThrowFileProblem(
            {.kind = FileProblemKind::TemporaryReplaced, .path = path, .other = temporary});
    }
}

// A temporary file written: its path, and the file itself, held open until the replacement ends
// (a file that is closed and removed may give its number to the next new one, which would then
// pass for it).
struct Written {
    std::string path;
    std::unique_ptr<FileStream> file;
};

// Writes a new temporary file beside `beside`, through the descriptor that created it, and
// finishes it (above). It is removed again when anything fails.
Written WriteTemporary(const std::string& beside, const std::function<void(Stream&)>& write,
                       const FileStream* old, const std::string& path,
                       const FileSystemPolicy& fileSystem) {
    TemporaryFile temporary = CreateTemporaryBeside(beside, fileSystem);
    const FileInfo created = temporary.file.Info();
    Written written{temporary.path, nullptr};
    try {
        written.file = std::make_unique<FileStream>(temporary.path, std::move(temporary.file));
        write(*written.file);
        Finish(*written.file, temporary.path, old, path);
    } catch (...) {
        if (StillNames(written.path, created)) ::unlink(written.path.c_str());
        throw;
    }
    return written;
}

// A copy of the locked file, synced, under a new temporary name beside `backup`.
std::string CopyBeside(FileStream& locked, const std::string& backup,
                       const FileSystemPolicy& fileSystem) {
    return WriteTemporary(
               backup,
               [&locked](Stream& copy) {
                   locked.Seek(0, SeekOrigin::Begin);
                   CopyToEnd(locked, copy);
               },
               &locked, locked.Name(), fileSystem)
        .path;
}

// The locked file at `target`, under a temporary name beside target + ".bak", to be renamed
// to that once the new file is in place: a hard link of it costs nothing; where the file system
// makes none, a copy.
std::string PrepareBackup(const std::string& target, FileStream& locked,
                          const FileSystemPolicy& fileSystem) {
    const std::string backup = target + ".bak";
    const std::string temporary = TemporaryNameBeside(backup);
    if (fileSystem.MakeHardLink(target, temporary)) {
        FileInfo linked;
        if (StatLink(temporary, linked) && linked.SameFileAs(locked.Info())) return temporary;
        ::unlink(temporary.c_str());
        ThrowFileProblem(FileProblemKind::ReplacedMeanwhile, target);
    }
    return CopyBeside(locked, backup, fileSystem);
}

// Gives the old image, held under a temporary name, a name of its own that no run removes as
// stale: TARGET.bak.kept-DATE (with a number added when that is taken). Returns the name it has
// now (the temporary one when even that rename fails).
std::string KeepOldImage(const std::string& pending, const std::string& target) {
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    std::strftime(date, sizeof date, "%Y%m%d-%H%M%S", ::gmtime_r(&now, &utc));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string kept = target + ".bak.kept-" + date;
        if (attempt) kept.append(1, '-').append(std::to_string(attempt));
        FileInfo taken;
        if (StatLink(kept, taken)) continue;
        if (std::rename(pending.c_str(), kept.c_str()) == 0) return kept;
        break;
    }
    return pending;
}

// Whether the file written holds other bytes than the locked old file.
bool HoldsOtherBytes(FileStream& old, FileStream& fresh) {
    if (old.Size() != fresh.Size()) return true;
    old.Seek(0, SeekOrigin::Begin);
    fresh.Seek(0, SeekOrigin::Begin);
    std::vector<uint8_t> a(64 * 1024), b(64 * 1024);
    for (;;) {
        const size_t got = old.Read(a.data(), a.size());
        if (got == 0) return false;
        fresh.ReadExact(b.data(), got);
        if (!std::equal(a.begin(), a.begin() + long(got), b.begin())) return true;
    }
}

void RefuseIfReplacedMeanwhile(const std::string& path, const std::string& target,
                               const FileInfo& old) {
    FileInfo now;
    if (!StatPath(target, now) || !now.SameFileAs(old)) {
        ThrowFileProblem(FileProblemKind::ReplacedMeanwhile, path);
    }
}

} // namespace

std::string ReplaceFile(const std::string& path, const std::function<void(Stream&)>& write,
                        const ReplaceOptions& options) {
    if (path.empty()) ThrowFileProblem(FileProblemKind::NoFileName, path);
    if (options.keepBackup && options.locked == nullptr) {
        throw std::logic_error("a backup is kept only of a file the caller has locked");
    }
    const std::string target = options.followLink ? ReplacementTarget(path) : path;
    FileStream* locked = options.locked;
    std::unique_ptr<FileStream> ownLock;
    FileInfo old;
    if (locked == nullptr && options.followLink && StatPath(target, old)) {
        if (old.IsFifo() || old.IsCharacterDevice()) {
            WriteThrough(path, write);
            return "";
        }
        if (!old.IsRegular()) {
            ThrowFileProblem(
                {.kind = FileProblemKind::NotRegularToWrite, .path = path, .mode = old.mode});
        }
        ownLock = std::make_unique<FileStream>(target, FileMode::Replace);
        locked = ownLock.get();
    }

    const FileSystemPolicy& fileSystem =
        options.fileSystem ? *options.fileSystem : RealFileSystem();
    const std::string folder = FolderOf(target);
    RemoveStaleTemporaries(target);
    Written written;
    std::string& temporary = written.path;
    std::string pendingBackup;
    try {
        written = WriteTemporary(target, write, locked, path, fileSystem);
        if (options.keepOtherContent && locked && HoldsOtherBytes(*locked, *written.file)) {
            ThrowFileProblem(FileProblemKind::OtherContent, path);
        }
        if (options.keepBackup) {
            RefuseIfReplacedMeanwhile(path, target, locked->Info());
            pendingBackup = PrepareBackup(target, *locked, fileSystem);
        }
        if (locked) RefuseIfReplacedMeanwhile(path, target, locked->Info());
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
            ThrowFileProblem(FileProblemKind::CannotRename, path, errno);
        }
    } catch (const FileError& error) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        ThrowFileProblem({.kind = FileProblemKind::NothingWritten,
                          .path = path,
                          .cause = std::current_exception()});
    } catch (...) {
        if (!temporary.empty()) ::unlink(temporary.c_str());
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        throw;
    }
    // The rename went by name: another program may have put a link or another file at the
    // temporary's name after it was checked. The name must now be the file written.
    if (!StillNames(target, written.file->Info())) {
        FileProblem problem{.kind = FileProblemKind::OtherAtTarget, .path = path, .other = target};
        FileInfo found;
        if (StatLink(target, found)) {
            problem.mode = found.mode;
            problem.links = found.links;
            if (found.IsSymbolicLink()) problem.text = LinkTarget(target);
        }
        if (!pendingBackup.empty()) problem.third = KeepOldImage(pendingBackup, target);
        ThrowFileProblem(std::move(problem));
    }
    // The earlier backup gives way only now that the new file is in place.
    std::string backup;
    if (!pendingBackup.empty()) {
        backup = target + ".bak";
        if (std::rename(pendingBackup.c_str(), backup.c_str()) != 0) {
            const int error = errno;
            ThrowFileProblem({.kind = FileProblemKind::BackupNotNamed,
                              .path = path,
                              .other = backup,
                              .third = KeepOldImage(pendingBackup, target),
                              .error = error});
        }
    }
    int error = 0;
    if (!SyncFolder(folder, error)) {
        ThrowFileProblem({.kind = FileProblemKind::FolderNotSynced,
                          .path = path,
                          .other = backup,
                          .error = error});
    }
    return backup;
}

void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write) {
    ReplaceFile(path, write);
}

void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes,
                        const ReplaceOptions& options) {
    ReplaceFile(
        path,
        [&bytes](Stream& file) {
            if (!bytes.empty()) file.Write(bytes.data(), bytes.size());
        },
        options);
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
