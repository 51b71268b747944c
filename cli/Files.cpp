#include "cli/Files.h"

#include "base/Errors.h"
#include "base/WholeFile.h"
#include "rom/RomFile.h"

namespace drovak::cli {

std::unique_ptr<FileStream> OpenInputAt(const std::string& path, uint32_t offset) {
    auto file = OpenRomRead(path);
    if (offset >= file->Size()) {
        throw FileError(path + ": too short: offset " + HexText(offset) +
                        " is at or past the end of the file (" + std::to_string(file->Size()) +
                        " bytes)");
    }
    file->Seek(offset, SeekOrigin::Begin);
    return file;
}

std::vector<uint8_t> ReadCodecInput(const std::string& path) {
    return ReadWholeFile(path, UINT32_MAX, "the codecs take (4 GiB - 1)");
}

} // namespace drovak::cli
