#include "base/FolderFiles.h"

#include "base/FileHandle.h"
#include "base/FileProblem.h"
#include "base/Folders.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace drovak {

namespace fs = std::filesystem;

namespace {

// The path of the file an open descriptor is, as the kernel knows it; "" when it can't tell.
std::string OpenedPath(const FileHandle& file) {
    std::error_code error;
    const fs::path path =
        fs::read_symlink("/proc/self/fd/" + std::to_string(file.Descriptor()), error);
    return error ? std::string() : path.string();
}

bool Within(const fs::path& folder, const fs::path& path) {
    const auto [end, at] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

} // namespace

std::string RealFolderPath(const std::string& folder) {
    std::error_code error;
    const fs::path real = fs::canonical(folder.empty() ? "." : folder, error);
    return error ? folder : real.string();
}

bool LiesInside(const std::string& folder, const std::string& path) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(fs::absolute(path, error), error);
    return !error && Within(RealFolderPath(folder), real);
}

std::vector<uint8_t> ReadFileInsideFolder(const std::string& folder, const std::string& name,
                                          uint64_t maxSize, SizeLimit limit) {
    const std::string path = PathIn(folder, name);
    FileHandle file = FileHandle::Open(path, O_RDONLY);
    if (!file.Info().IsRegular()) {
        ThrowFileProblem({.kind = FileProblemKind::NotRegularInFolder,
                          .path = path,
                          .other = folder,
                          .mode = file.Info().mode});
    }
    std::string opened = OpenedPath(file);
    if (opened.empty()) opened = RealFolderPath(path);
    if (!Within(RealFolderPath(folder), opened)) {
        ThrowFileProblem(
            {.kind = FileProblemKind::LeadsOutside, .path = path, .other = folder, .text = opened});
    }
    file.Lock(path, false);
    if (file.Info().size > maxSize) {
        ThrowFileProblem({.kind = FileProblemKind::TooLarge,
                          .path = path,
                          .count = file.Info().size,
                          .total = maxSize,
                          .limit = limit});
    }
    FileStream stream(path, std::move(file));
    std::vector<uint8_t> bytes(size_t(stream.Size()));
    stream.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

void WriteFileInFolder(const std::string& folder, const std::string& name,
                       const std::vector<uint8_t>& bytes) {
    WriteFileReplacing(PathIn(folder, name), bytes, {.followLink = false});
}

} // namespace drovak
