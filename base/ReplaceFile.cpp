#include "base/ReplaceFile.h"

#include "base/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drovak {

namespace {

// Reserves a new file name beside path (created empty, exclusively).
std::string CreateTemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0;; ++attempt) {
        std::string temporary =
            path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temporary;
        }
        if (errno != EEXIST || attempt >= 100) {
            throw FileError(path + ": cannot create the file: " + std::strerror(errno));
        }
    }
}

// A replaced file keeps its permissions.
void KeepPermissions(const std::string& path, const std::string& temporary) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        ::chmod(temporary.c_str(), info.st_mode & 07777);
    }
}

// Makes the rename itself durable; a folder that can't be synced is no reason to fail.
void SyncFolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void WriteFileReplacing(const std::string& path, const std::function<void(Stream&)>& write) {
    if (path.empty()) throw FileError("No file name given");
    std::string temporary = CreateTemporaryBeside(path);
    try {
        {
            FileStream file(temporary, FileMode::Create);
            write(file);
            file.Sync();
        }
        KeepPermissions(path, temporary);
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            throw FileError(path + ": cannot create the file: " + std::strerror(errno));
        }
        SyncFolderOf(path);
    } catch (const FileError& error) {
        ::unlink(temporary.c_str());
        if (std::string(error.what()).rfind(path + ":", 0) == 0) throw;
        throw FileError(path + ": not written: " + error.what());
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
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
        std::vector<uint8_t> chunk(64 * 1024);
        for (size_t n; (n = stream.Read(chunk.data(), chunk.size())) != 0;)
            file.Write(chunk.data(), n);
    });
    stream.Seek(int64_t(kept), SeekOrigin::Begin);
}

} // namespace drovak
