#include "base/WholeFile.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/Stream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace drovak {

namespace {

std::string OverLimit(const std::string& path, const std::string& amount,
                      const std::string& limitText) {
    return path + ": " + amount + " than " + limitText + "; nothing was written";
}

// A pipe, FIFO or device, read to its end.
std::vector<uint8_t> ReadToEnd(const std::string& path, FileHandle& file, uint64_t maxSize,
                               const std::string& limitText) {
    // A pipe's writer is waited for; a device that has nothing now has no end to read to.
    if (file.Info().IsFifo()) file.MakeBlocking();
    std::vector<uint8_t> data;
    std::vector<uint8_t> chunk(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(file.Descriptor(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            throw RefusedError(path + ": is " + FileKind(file.Info().mode) +
                               " with nothing to read now: it can't be read to an end; nothing "
                               "was written");
        }
        if (got < 0) throw FileError(path + ": cannot read: " + SystemReason());
        if (got == 0) return data;
        if (data.size() + size_t(got) > maxSize) {
            throw RefusedError(OverLimit(path, "more bytes", limitText));
        }
        data.insert(data.end(), chunk.begin(), chunk.begin() + got);
    }
}

} // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize,
                                   const std::string& limitText) {
    {
        FileHandle probe = FileHandle::Open(path, O_RDONLY);
        if (probe.Info().IsFifo() || probe.Info().IsCharacterDevice()) {
            return ReadToEnd(path, probe, maxSize, limitText);
        }
    }
    FileStream file(path, FileMode::Read);
    if (file.Size() > maxSize) {
        throw RefusedError(
            OverLimit(path, std::to_string(file.Size()) + " bytes, more", limitText));
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
