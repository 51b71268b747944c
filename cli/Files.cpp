#include "cli/Files.h"

#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/WholeFile.h"
#include "rom/RomFile.h"
#include "words/CommandWords.h"

#include <cstdio>

namespace drovak::cli {

RomBytes ReadInput(const std::string& path, uint32_t offset) {
    auto file = OpenRomRead(path);
    if (offset >= file->Size()) {
        throw FileError(OffsetPastEndText(path, offset, file->Size()));
    }
    return {file->Name(), ReadRest(*file, 0)};
}

ReplaceOptions OutputOptions(const ParsedArguments& arguments) {
    return {.keepOtherContent = !arguments.Has("--yes")};
}

std::vector<uint8_t> ReadCodecInput(const std::string& path) {
    // No data of the game is larger than its ROM image; a pipe or a device is read no further.
    return ReadWholeFile(path, MAX_ROM_SIZE, SizeLimit::CodecInput);
}

std::string WrittenLine(const std::string& path, const std::string& what,
                        std::chrono::steady_clock::time_point started) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // A folder's own size is no count of what was written into it.
    FileInfo info;
    const bool file = StatPath(path, info) && info.IsRegular();
    return WrittenText(path, what, file ? std::optional<uint64_t>(info.size) : std::nullopt,
                       seconds);
}

} // namespace drovak::cli
