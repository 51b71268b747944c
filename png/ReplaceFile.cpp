#include "png/ReplaceFile.h"

#include "compression/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            throw FileError(path + ": cannot create the file: " + std::strerror(errno));
        }
    } catch (const FileError& error) {
        ::unlink(temporary.c_str());
        if (std::string(error.what()).rfind(path + ":", 0) == 0) throw;
        throw FileError(path + ": not written: " + error.what());
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

} // namespace drovak
