#include "base/TemporaryFiles.h"

#include "base/FileProblem.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drovak {

namespace {

constexpr const char* PATTERN_MIDDLE = ".drovak-";
constexpr const char* PATTERN_END = ".tmp";
constexpr int MAX_LINKS_FOLLOWED = 40;

std::string NameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Whether a temporary file is stale: its process gone (one that merely belongs to someone else
// can still be signalled), no lock on it (a live run in another process namespace holds one),
// owned by this user, untouched for a while.
bool IsStale(int folder, const char* name, long pid) {
    if (pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH) return false;
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat s {};
    const bool stale = ::fstat(fd, &s) == 0 && S_ISREG(s.st_mode) && s.st_uid == ::geteuid() &&
                       s.st_mtim.tv_sec + STALE_TEMPORARY_SECONDS < std::time(nullptr) &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return stale;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

std::string ReplacementTarget(const std::string& path) {
    std::filesystem::path target = path;
    for (int followed = 0; followed < MAX_LINKS_FOLLOWED; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) break;
        const std::filesystem::path pointed = std::filesystem::read_symlink(target, error);
        if (error || pointed.empty()) break;
        target = pointed.is_absolute() ? pointed : target.parent_path() / pointed;
    }
    return target.string();
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::string name(".");
    name.append(NameOf(path)).append(PATTERN_MIDDLE).append(std::to_string(::getpid()));
    name.append("-").append(std::to_string(counter++)).append(PATTERN_END);
    return (std::filesystem::path(path).parent_path() / name).string();
}

bool StillNames(const std::string& path, const FileInfo& info) {
    FileInfo named;
    return StatLink(path, named) && named.SameFileAs(info);
}

TemporaryFile CreateTemporaryBeside(const std::string& path, const FileSystemPolicy& fileSystem) {
    for (int attempt = 0;; ++attempt) {
        TemporaryFile temporary{TemporaryNameBeside(path), {}};
        int error = 0;
        temporary.file = FileHandle::CreateNew(temporary.path, error);
        if (!temporary.file.IsOpen()) {
            if (error == EEXIST && attempt < 100) continue;
            ThrowFileProblem(FileProblemKind::CannotCreateTemporary, path, error);
        }
        if (fileSystem.afterTemporaryCreated) fileSystem.afterTemporaryCreated(temporary.path);
        return temporary;
    }
}

bool IsTemporaryName(const std::string& name, long& pid, std::string* stem) {
    const size_t middle = name.rfind(PATTERN_MIDDLE);
    const size_t endLength = std::strlen(PATTERN_END);
    if (name.empty() || name[0] != '.' || middle == std::string::npos || name.size() < endLength ||
        name.compare(name.size() - endLength, endLength, PATTERN_END)) {
        return false;
    }
    const size_t numbers = middle + std::strlen(PATTERN_MIDDLE);
    if (numbers > name.size() - endLength) return false;
    const std::string tail = name.substr(numbers, name.size() - endLength - numbers);
    const size_t dash = tail.find('-');
    if (dash == std::string::npos || !AllDigits(tail.substr(0, dash)) ||
        !AllDigits(tail.substr(dash + 1)) || dash > 9) {
        return false;
    }
    pid = std::stol(tail.substr(0, dash));
    if (stem) *stem = name.substr(1, middle - 1);
    return pid > 0;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string name = NameOf(path);
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        long pid = 0;
        std::string stem;
        if (!IsTemporaryName(entry->d_name, pid, &stem)) continue;
        if (stem != name && stem != name + ".bak") continue;
        if (IsStale(::dirfd(dir), entry->d_name, pid)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

bool SyncFolder(const std::string& folder, int& error) {
    // A folder that can't be opened, or a file system that can't sync folders, leaves nothing to
    // do: only a sync that fails is a failure.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced) error = errno;
    ::close(fd);
    return synced;
}

} // namespace drovak
