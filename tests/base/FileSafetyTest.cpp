// What a folder shared with others can do to a replacement: a temporary file swapped for a link,
// a temporary readable by others, attributes and access lists lost, read-only files replaced,
// look-alike temporaries removed, record locks ignored.
#include "base/Errors.h"
#include "base/FolderFiles.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/SwapFiles.h"
#include "base/TemporaryFiles.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

constexpr uid_t NOBODY = 65534;

class FileSafety : public ScratchTest {
protected:
    // Replaces `path` keeping a backup, as every ROM change does.
    void ReplaceKeepingBackup(const std::string& path, const Bytes& bytes) {
        FileStream locked(path, FileMode::Replace);
        ReplaceFile(path, [&bytes](Stream& out) { out.Write(bytes.data(), bytes.size()); },
                    {.locked = &locked, .keepBackup = true, .fileSystem = &fileSystem});
    }

    FileSystemPolicy fileSystem;

    static Bytes Attribute(const std::string& path, const char* name) {
        Bytes value(4096);
        const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
        value.resize(size_t(std::max<ssize_t>(size, 0)));
        return value;
    }
};

// An access list in the kernel's form (version 2, then tag, permissions and id of each entry,
// little-endian): user::rw-, user:daemon:rw-, group::r--, mask::rw-, other::r--. The mask is
// wider than the group's bits: a plain chmod would lose that.
Bytes AccessList() {
    return Hex("02 00 00 00  01 00 06 00 FF FF FF FF  02 00 06 00 01 00 00 00  04 00 04 00 FF FF "
               "FF FF  10 00 06 00 FF FF FF FF  20 00 04 00 FF FF FF FF");
}

// Another user puts a link at the temporary file's name between its creation and its use (the
// new image's, and the backup copy's where no link can be made), or replaces the image itself
// while its backup is copied: nothing is written through the link, the files stay as they were,
// no temporary is left, and the temporary was only ever 0600 and locked.
TEST_F(FileSafety, ATemporarySwappedForALinkWritesNothingThroughIt) {
    const std::string victim = Write("victim", Pattern(16));
    for (int swapAt : {1, 2, 3}) {
        SCOPED_TRACE(swapAt);
        const std::string rom = Write("tf3.bin", Pattern(64));
        Write("tf3.bin.bak", Bytes(8, 7));
        ::chmod(rom.c_str(), 0644);
        fileSystem.withoutLinks = true; // the backup is then a copy: a second temporary file
        int created = 0;
        mode_t modeAtCreation = 0;
        bool lockedAtCreation = false;
        fileSystem.afterTemporaryCreated = [&](const std::string& temporary) {
            modeAtCreation = ModeOf(temporary);
            const int other = ::open(temporary.c_str(), O_RDONLY);
            lockedAtCreation = ::flock(other, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            ::close(other);
            if (++created != std::min(swapAt, 2)) return;
            if (swapAt == 3) return fs::rename(Write("other", Bytes(4, 4)), rom);
            fs::remove(temporary);
            fs::create_symlink(victim, temporary);
        };
        const auto entries = EntriesIn(dir.path);
        EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { ReplaceKeepingBackup(rom, Bytes(32, 1)); }),
                          "replaced by another program meanwhile; nothing was written"));
        EXPECT_EQ(std::tuple(created, modeAtCreation, lockedAtCreation),
                  std::tuple(std::min(swapAt, 2), mode_t(0600), true));
        EXPECT_EQ(ReadBytes(victim), Pattern(16));
        EXPECT_EQ(std::tuple(ReadBytes(rom), ReadBytes(rom + ".bak"), ModeOf(rom)),
                  std::tuple(swapAt == 3 ? Bytes(4, 4) : Pattern(64), Bytes(8, 7),
                             mode_t(swapAt == 3 ? ModeOf(victim) : 0644)));
        // A planted link is left where it is; nothing of the replacement's own is.
        EXPECT_EQ(EntriesIn(dir.path), entries + (swapAt < 3));
    }
}

// A file of a folder from others is written by its own name: a link planted there, dangling or
// not, is replaced, and nothing is created or written where it pointed.
TEST_F(FileSafety, AFolderFileReplacesALinkAtItsName) {
    const std::string victim = Write("victim", Pattern(16));
    fs::create_directory(File("mod"));
    for (const std::string& target : {victim, File("created")}) {
        fs::remove(File("mod/a.bin"));
        fs::create_symlink(target, File("mod/a.bin"));
        WriteFileInFolder(File("mod"), "a.bin", Bytes(4, 1));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(File("mod/a.bin"))));
        EXPECT_EQ(ReadBytes(File("mod/a.bin")), Bytes(4, 1));
    }
    EXPECT_EQ(ReadBytes(victim), Pattern(16));
    EXPECT_FALSE(fs::exists(File("created")));
    // A file of the folder that another program is writing (an exclusive lock) is not read.
    const int writer = ::open(File("mod/a.bin").c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_THROW(ReadFileInsideFolder(File("mod"), "a.bin", 100, SizeLimit::None), InUseError);
    ::close(writer);
}

// The new file, and a backup that had to be copied, carry the old one's mode, access list and
// user attributes.
TEST_F(FileSafety, ModeAccessListAndAttributesAreKept) {
    const std::string rom = Write("tf3.bin", Pattern(64));
    const Bytes list = AccessList();
    if (::setxattr(rom.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0 ||
        ::setxattr(rom.c_str(), "user.x", "1", 1, 0) != 0 ||
        ::setxattr(rom.c_str(), "user.empty", "", 0, 0) != 0)
        GTEST_SKIP() << "the scratch folder's file system keeps no access lists or user "
                        "attributes: "
                     << std::strerror(errno);
    const mode_t mode = ModeOf(rom);
    EXPECT_EQ(mode, mode_t(0664)); // the mask shows as the group's bits
    for (bool links : {true, false}) {
        SCOPED_TRACE(links ? "backup linked" : "backup copied");
        fileSystem.withoutLinks = !links;
        ReplaceKeepingBackup(rom, Bytes(32, links));
        for (const std::string& path : {rom, rom + ".bak"}) {
            EXPECT_EQ(Attribute(path, "system.posix_acl_access"), list) << path;
            EXPECT_EQ(Attribute(path, "user.x"), Bytes{'1'}) << path;
            EXPECT_EQ(::getxattr(path.c_str(), "user.empty", nullptr, 0), 0) << path;
            EXPECT_EQ(ModeOf(path), mode) << path;
        }
    }
}

// A file no one may write (root included), or this user may not, is refused whole; so is one
// whose owner this user could not give the new file. The unprivileged cases run in a child that
// has given up root.
TEST_F(FileSafety, ReadOnlyFilesAreRefused) {
    for (mode_t mode : {0444, 0400, 0555}) {
        const std::string path = Write("tf3.bin", Pattern(64));
        ::chmod(path.c_str(), mode);
        EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { WriteFileReplacing(path, Bytes{1}); }),
                          "read-only; nothing was written"))
            << std::oct << mode;
        EXPECT_EQ(ReadBytes(path), Pattern(64));
    }
    if (::geteuid() != 0) GTEST_SKIP() << "not root: can't test as another user";

    // A folder the other user may write, holding root's files that user may not, or may write
    // but not own.
    ::chmod(dir.path.c_str(), 0755);
    const std::string shared = File("shared");
    fs::create_directory(shared);
    ::chmod(shared.c_str(), 0777);
    const std::tuple<const char*, mode_t, const char*> cases[] = {
        {"readonly.bin", 0644, "read-only; nothing was written"},
        {"others.bin", 0666, "its owner is never changed"}};
    for (const auto& [name, mode, expected] : cases) {
        const std::string path = shared + "/" + name;
        WriteBytes(path, Pattern(64));
        ::chmod(path.c_str(), mode);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0) ::_exit(2);
            const std::string words =
                WordsOf<RefusedError>([&] { WriteFileReplacing(path, Bytes{1}); });
            ::_exit(words.empty() ? 5 : Holds(words, expected) ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0) << name << " (exit 2: can't drop root, 3: other words, 5: written)";
        struct stat s {};
        ::stat(path.c_str(), &s);
        EXPECT_EQ(s.st_uid, 0u) << name;
        EXPECT_EQ(ReadBytes(path), Pattern(64)) << name;
    }
}

// The cleanup removes only this file's own temporaries, and of those only the stale ones: owned
// by this user, their process gone, no lock on them, older than a few minutes.
TEST_F(FileSafety, OnlyStaleTemporariesOfTheFileItselfAreRemoved) {
    const pid_t ended = [] {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }();
    const std::string rom = Write("tf3.bin", Pattern(64));
    const auto name = [](const std::string& stem, long pid) {
        return "." + stem + ".drovak-" + std::to_string(pid) + "-1.tmp";
    };
    // The name; whether it is fresh, locked, another user's; whether it is removed.
    const std::tuple<std::string, bool, bool, bool, bool> cases[] = {
        {name("tf3.bin", ended), false, false, false, true},
        {name("tf3.bin.bak", ended + 1000000), false, false, false, true},
        {name("tf3.bin", ended + 2000000), true, false, false, false}, // younger than stale
        {name("tf3.bin", ended + 3000000), false, true, false, false}, // a live run holds it
        {name("tf3.bin", ended + 4000000), false, false, true, false}, // another user's
        {name("tf3.bin", 1), false, false, false, false},              // its process runs
        {name("my-notes", ended), false, false, false, false}, // another file's, or a user's
        {name("tf3", ended), false, false, false, false},
        {"tf3.bin.drovak-" + std::to_string(ended) + "-1.tmp", false, false, false, false},
    };
    std::vector<int> locks;
    for (const auto& [file, fresh, locked, foreign, removed] : cases) {
        const std::string path = Write(file, {});
        if (!fresh)
            fs::last_write_time(path, fs::file_time_type::clock::now() -
                                          std::chrono::seconds(STALE_TEMPORARY_SECONDS + 60));
        if (locked) {
            locks.push_back(::open(path.c_str(), O_RDONLY));
            ::flock(locks.back(), LOCK_EX);
        }
        if (foreign && ::chown(path.c_str(), NOBODY, NOBODY) != 0)
            GTEST_SKIP() << "not root: can't give a file to another user";
    }
    const auto open = EntriesIn("/proc/self/fd");
    WriteFileReplacing(rom, Bytes{1});
    EXPECT_EQ(EntriesIn("/proc/self/fd"), open) << "a descriptor left open";
    for (const auto& [file, fresh, locked, foreign, removed] : cases)
        EXPECT_EQ(fs::exists(File(file)), !removed) << file;
    // A process that runs is seen to run, whatever error number was left from before; it is
    // only asked whether it runs, never sent a signal.
    const pid_t runs = ::fork();
    if (runs == 0) {
        ::pause();
        ::_exit(0);
    }
    fs::create_directory(File("alone"));
    const std::string alone = Write("alone/" + name("tf3.bin", runs), {});
    fs::last_write_time(alone, fs::file_time_type::clock::now() -
                                   std::chrono::seconds(STALE_TEMPORARY_SECONDS + 60));
    errno = ESRCH;
    RemoveStaleTemporaries(File("alone/tf3.bin"));
    ::kill(runs, SIGKILL);
    int status = 0;
    ::waitpid(runs, &status, 0);
    EXPECT_EQ(std::pair(fs::exists(alone), WTERMSIG(status)), std::pair(true, SIGKILL));
    for (int fd : locks) ::close(fd);
}

// Locks of other programs (flock, fcntl, lockf, open-file-description locks) keep a change out,
// a shared one keeping readers in, and they see the program's own lock.
TEST_F(FileSafety, LocksAreSeenBothWays) {
    const std::string path = Write("tf3.bin", Pattern(64));
    // The lock's name, the call that takes it (0: lockf, 1: flock, else fcntl's command), its type.
    // clang-format off
    const std::tuple<const char*, int, short> locks[] = {
        {"flock shared", 1, F_RDLCK}, {"flock", 1, F_WRLCK}, {"fcntl read", F_SETLK, F_RDLCK},
        {"fcntl write", F_SETLK, F_WRLCK}, {"lockf", 0, F_WRLCK},
        {"open-file-description write", F_OFD_SETLK, F_WRLCK}};
    // clang-format on
    for (const auto& [name, command, type] : locks) {
        SCOPED_TRACE(name);
        // Another process holds the lock until the pipe closes (a process's own record locks
        // go with the first close of any descriptor of the file).
        int ready[2], release[2];
        ASSERT_EQ(::pipe(ready) | ::pipe(release), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            ::close(release[1]);
            const int fd = ::open(path.c_str(), O_RDWR);
            struct flock record {};
            record.l_type = type;
            record.l_whence = SEEK_SET;
            const char locked = (command == 0   ? ::lockf(fd, F_TLOCK, 0)
                                 : command == 1 ? ::flock(fd, type == F_RDLCK ? LOCK_SH : LOCK_EX)
                                                : ::fcntl(fd, command, &record)) == 0;
            (void)!::write(ready[1], &locked, 1);
            char end;
            (void)!::read(release[0], &end, 1);
            ::_exit(0);
        }
        char locked = 0;
        ASSERT_EQ(::read(ready[0], &locked, 1), 1);
        ASSERT_TRUE(locked);
        EXPECT_THROW(FileStream(path, FileMode::Replace), InUseError);
        EXPECT_THROW(WriteFileReplacing(path, Bytes{1}), InUseError);
        const bool readable = type == F_RDLCK;
        EXPECT_EQ(WordsOf<InUseError>([&] { FileStream(path, FileMode::Read); }).empty(), readable);
        for (int end : {ready[0], ready[1], release[0], release[1]}) ::close(end);
        ::waitpid(holder, nullptr, 0);
        EXPECT_EQ(ReadBytes(path), Pattern(64));
    }
    for (FileMode mode : {FileMode::Read, FileMode::Replace}) {
        FileStream held(path, mode);
        const int fd = ::open(path.c_str(), O_RDWR);
        struct flock record {};
        record.l_whence = SEEK_SET;
        for (short type : {F_RDLCK, F_WRLCK}) {
            record.l_type = type;
            const bool conflicts = mode == FileMode::Replace || type == F_WRLCK;
            EXPECT_EQ(::fcntl(fd, F_SETLK, &record) != 0, conflicts) << int(mode) << " " << type;
            EXPECT_EQ(::fcntl(fd, F_OFD_SETLK, &record) != 0, conflicts)
                << int(mode) << " " << type;
            record.l_type = F_UNLCK;
            ::fcntl(fd, F_SETLK, &record);
            ::fcntl(fd, F_OFD_SETLK, &record);
        }
        ::close(fd);
    }
}

} // namespace
} // namespace drovak
