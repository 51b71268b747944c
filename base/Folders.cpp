#include "base/Folders.h"

#include "base/FileProblem.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace drovak {

namespace fs = std::filesystem;

void MakeFolder(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) return;
    // No error but nothing made: the folder appeared meanwhile, which is as good.
    fs::create_directory(path, error);
    if (error) ThrowFileProblem(FileProblemKind::CannotMakeFolder, path, error.value());
}

std::vector<std::string> FolderEntries(const std::string& path) {
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    if (error) ThrowFileProblem(FileProblemKind::CannotReadFolder, path, error.value());
    std::sort(names.begin(), names.end());
    return names;
}

std::string PathIn(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string RelativePathFrom(const std::string& from, const std::string& target) {
    std::error_code error;
    const fs::path base = fs::absolute(from, error).lexically_normal();
    const fs::path whole = fs::absolute(target, error).lexically_normal();
    if (error) return target;
    const fs::path relative = whole.lexically_relative(base);
    return relative.empty() ? whole.string() : relative.string();
}

} // namespace drovak
