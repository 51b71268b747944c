#include "base/FileAttributes.h"

#include "base/FileProblem.h"

#include <cerrno>
#include <string_view>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace drovak {

namespace {

constexpr std::string_view ACCESS_LIST = "system.posix_acl_access";

bool Unsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// The names of a file's extended attributes ("" separated); empty where it has none.
std::vector<char> AttributeNames(int fd) {
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0) return {};
        std::vector<char> names(static_cast<size_t>(size));
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(size_t(got));
            return names;
        }
        if (errno != ERANGE) return {};
    }
}

void CopyAttribute(int from, int to, const char* name, const std::string& path) {
    std::vector<char> value;
    ssize_t size;
    do {
        size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) return; // gone meanwhile, or not ours to read
        value.resize(size_t(size));
        size = ::fgetxattr(from, name, value.data(), value.size());
    } while (size < 0 && errno == ERANGE);
    if (size < 0) return;
    if (::fsetxattr(to, name, value.data(), size_t(size), 0) == 0) return;
    const int error = errno;
    if (name == ACCESS_LIST || (!Unsupported(error) && error != EPERM && error != EACCES)) {
        ThrowFileProblem({.kind = FileProblemKind::CannotGiveAttribute,
                          .path = path,
                          .text = name,
                          .error = error});
    }
}

} // namespace

void KeepOwnerModeAndAttributes(const FileHandle& from, const FileHandle& to,
                                const std::string& path) {
    const FileInfo& old = from.Info();
    const int fd = to.Descriptor();
    // A file system without owners (FAT) gives every file the same one: the check below passes.
    if (::fchown(fd, old.owner, old.group) != 0) (void)::fchown(fd, uid_t(-1), old.group);
    struct stat now {};
    if (::fstat(fd, &now) != 0) {
        ThrowFileProblem(FileProblemKind::CannotCheckNewFile, path, errno);
    }
    if (now.st_uid != old.owner || now.st_gid != old.group) {
        ThrowFileProblem({.kind = FileProblemKind::OwnerNotKept,
                          .path = path,
                          .owner = old.owner,
                          .group = old.group});
    }
    // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
    if (::fchmod(fd, old.mode & 07777) != 0 && !Unsupported(errno)) {
        ThrowFileProblem(FileProblemKind::CannotGiveMode, path, errno);
    }
    const std::vector<char> names = AttributeNames(from.Descriptor());
    for (size_t at = 0; at < names.size(); at += std::string_view(names.data() + at).size() + 1) {
        CopyAttribute(from.Descriptor(), fd, names.data() + at, path);
    }
}

} // namespace drovak
