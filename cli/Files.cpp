#include "cli/Files.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/WholeFile.h"
#include "rom/RomFile.h"

#include <cstdio>

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

std::string WrittenLine(const std::string& path, const std::string& what,
                        std::chrono::steady_clock::time_point started) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char time[32];
    std::snprintf(time, sizeof time, "%.1f", seconds);
    FileInfo info;
    const std::string size = StatPath(path, info) ? std::to_string(info.size) + " bytes, " : "";
    return path + " written: " + (what.empty() ? "" : what + ", ") + size + "in " + time + " s.";
}

} // namespace drovak::cli
