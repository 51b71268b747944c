#include "base/Paths.h"

#include "base/FileHandle.h"

#include <filesystem>

#include <sys/stat.h>

namespace drovak {

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FolderPart(const std::string& path) {
    size_t last = path.find_last_of("\\/:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string FileNamePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool SameFile(const std::string& first, const std::string& second) {
    FileInfo a, b;
    return StatPath(first, a) && StatPath(second, b) && a.SameFileAs(b);
}

} // namespace drovak
