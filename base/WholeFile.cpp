#include "base/WholeFile.h"

#include "base/FileHandle.h"
#include "base/FileProblem.h"
#include "base/Stream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace drovak {

namespace {

// A pipe, FIFO or device, read to its end.
std::vector<uint8_t> ReadToEnd(const std::string& path, FileHandle& file, uint64_t maxSize,
                               SizeLimit limit) {
    // A pipe's writer is waited for; a device that has nothing now has no end to read to.
    if (file.Info().IsFifo()) file.MakeBlocking();
    std::vector<uint8_t> data;
    std::vector<uint8_t> chunk(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(file.Descriptor(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            ThrowFileProblem({.kind = FileProblemKind::NothingToReadNow,
                              .path = path,
                              .mode = file.Info().mode});
        }
        if (got < 0) ThrowFileProblem(FileProblemKind::CannotRead, path, errno);
        if (got == 0) return data;
        if (data.size() + size_t(got) > maxSize) {
            ThrowFileProblem({.kind = FileProblemKind::MoreBytesThan,
                              .path = path,
                              .total = maxSize,
                              .limit = limit});
        }
        data.insert(data.end(), chunk.begin(), chunk.begin() + got);
    }
}

} // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize, SizeLimit limit) {
    {
        FileHandle probe = FileHandle::Open(path, O_RDONLY);
        if (probe.Info().IsFifo() || probe.Info().IsCharacterDevice()) {
            return ReadToEnd(path, probe, maxSize, limit);
        }
    }
    FileStream file(path, FileMode::Read);
    if (file.Size() > maxSize) {
        ThrowFileProblem({.kind = FileProblemKind::TooLarge,
                          .path = path,
                          .count = file.Size(),
                          .total = maxSize,
                          .limit = limit});
    }
    std::vector<uint8_t> data(size_t(file.Size()));
    file.ReadExact(data.data(), data.size());
    return data;
}

bool FileHoldsOtherBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FileInfo info;
    if (!StatPath(path, info) || !info.IsRegular()) return false;
    return info.size != bytes.size() || ReadWholeFile(path) != bytes;
}

} // namespace drovak
