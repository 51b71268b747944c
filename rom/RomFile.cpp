#include "rom/RomFile.h"

#include "compression/Errors.h"

#include <sys/stat.h>

namespace drovak {

uint32_t ParseHex(std::string_view text) {
    size_t at = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) at = 2;
    if (at < text.size() && text[at] == '$') ++at;
    uint32_t value = 0;
    for (; at < text.size(); ++at) {
        char c = text[at];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            break;
        value = (value << 4) | digit;
    }
    return value;
}

std::unique_ptr<FileStream> OpenRomRead(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Read);
}

std::unique_ptr<FileStream> OpenRomPatch(const std::string& path) {
    return std::make_unique<FileStream>(path, FileMode::Patch);
}

void SaveStreamToFile(Stream& stream, const std::string& path) {
    uint64_t kept = stream.Position();
    FileStream file(path, FileMode::Create);
    stream.Seek(0, SeekOrigin::Begin);
    std::vector<uint8_t> chunk(64 * 1024);
    for (;;) {
        size_t n = stream.Read(chunk.data(), chunk.size());
        if (n == 0) break;
        file.Write(chunk.data(), n);
    }
    stream.Seek(int64_t(kept), SeekOrigin::Begin);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize,
                                   const std::string& limitText) {
    FileStream file(path, FileMode::Read);
    if (file.Size() > maxSize) {
        throw RefusedError(path + ": " + std::to_string(file.Size()) + " bytes are more than " +
                           limitText);
    }
    std::vector<uint8_t> data(size_t(file.Size()));
    file.ReadExact(data.data(), data.size());
    return data;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FolderPart(const std::string& path) {
    size_t last = path.find_last_of("\\/:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

} // namespace drovak
