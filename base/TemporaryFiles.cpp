#include "base/TemporaryFiles.h"

#include "base/Errors.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drovak {

namespace {

constexpr const char* PATTERN_MIDDLE = ".drovak-";
constexpr const char* PATTERN_END = ".tmp";
constexpr int MAX_LINKS_FOLLOWED = 40;

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReplacementTarget(const std::string& path) {
    std::string target = path;
    for (int followed = 0; followed < MAX_LINKS_FOLLOWED; ++followed) {
        struct stat s {};
        if (::lstat(target.c_str(), &s) != 0 || !S_ISLNK(s.st_mode)) return target;
        char link[PATH_MAX];
        const ssize_t length = ::readlink(target.c_str(), link, sizeof link - 1);
        if (length <= 0) return target;
        const std::string pointed(link, size_t(length));
        target = pointed[0] == '/' ? pointed : FolderOf(target) + "/" + pointed;
    }
    return target;
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = path.find('/') == std::string::npos ? "" : FolderOf(path) + "/";
    return folder + "." + NameOf(path) + PATTERN_MIDDLE + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + PATTERN_END;
}

std::string CreateTemporaryBeside(const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        std::string temporary = TemporaryNameBeside(path);
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temporary;
        }
        if (errno != EEXIST || attempt >= 100) {
            throw FileError("cannot create a temporary file in the folder of " + path + ": " +
                            std::strerror(errno));
        }
    }
}

bool IsTemporaryName(const std::string& name, long& pid) {
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
    return pid > 0;
}

int RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        long pid = 0;
        if (!IsTemporaryName(entry->d_name, pid)) continue;
        // A process that is gone can't be signalled; one that merely belongs to someone else can.
        if (pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        const std::string path = folder + "/" + entry->d_name;
        struct stat s {};
        if (::lstat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode) && ::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

bool SyncFolder(const std::string& folder, std::string& reason) {
    // A folder that can't be opened, or a file system that can't sync folders, leaves nothing to
    // do: only a sync that fails is a failure.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    if (!synced) reason = std::strerror(errno);
    ::close(fd);
    return synced;
}

} // namespace drovak
