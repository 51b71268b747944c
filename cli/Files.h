#pragma once

#include "base/ReplaceFile.h"
#include "cli/Arguments.h"
#include "rom/RomFile.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drovak::cli {

// Reads an input whole (read-only, under a shared lock), named as its messages name it; FileError
// when the offset is at or past the end of the file.
RomBytes ReadInput(const std::string& path, uint32_t offset);

// How a command writes a named output: an existing file that holds other data is replaced only
// with --yes (OtherContentError otherwise, exit code 3); the same data is no reason to refuse.
ReplaceOptions OutputOptions(const ParsedArguments& arguments);

// A whole input file (a pipe read to its end) whose size a codec can take: at most a ROM
// image's, 64 MiB; RefusedError beyond.
std::vector<uint8_t> ReadCodecInput(const std::string& path);

// What a command wrote, as the window says it: "level1.png written: 16384 x 512 pixels,
// 1234567 bytes, in 2.5 s." (`what` before the size when given; a folder's without one), the
// time since `started`.
std::string WrittenLine(const std::string& path, const std::string& what,
                        std::chrono::steady_clock::time_point started);

} // namespace drovak::cli
