#include "cli/Files.h"

#include "base/Errors.h"
#include "base/WholeFile.h"
#include "rom/RomFile.h"

namespace drovak::cli {

RomBytes ReadInput(const std::string& path, uint32_t offset) {
    auto file = OpenRomRead(path);
    if (offset >= file->Size()) {
        throw FileError(path + ": too short: offset " + HexText(offset) +
                        " is at or past the end of the file (" + std::to_string(file->Size()) +
                        " bytes)");
    }
    return {file->Name(), ReadRest(*file, 0)};
}

ReplaceOptions OutputOptions(const ParsedArguments& arguments) {
    return {.keepOtherContent = !arguments.Has("--yes")};
}

std::vector<uint8_t> ReadCodecInput(const std::string& path) {
    // No data of the game is larger than its ROM image; a pipe or a device is read no further.
    return ReadWholeFile(path, MAX_ROM_SIZE,
                         "the codecs take (" + std::to_string(MAX_ROM_SIZE) + ", a ROM image's)");
}

} // namespace drovak::cli
