#include "base/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace drovak {

bool FileSystemPolicy::MakeHardLink(const std::string& from, const std::string& to) const {
    if (withoutLinks) {
        errno = EPERM;
        return false;
    }
    return ::link(from.c_str(), to.c_str()) == 0;
}

bool FileSystemPolicy::Exchange(const std::string& first, const std::string& second) const {
    if (withoutExchange) {
        errno = EINVAL;
        return false;
    }
    return ::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0;
}

const FileSystemPolicy& RealFileSystem() {
    static const FileSystemPolicy real;
    return real;
}

} // namespace drovak
