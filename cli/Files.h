#pragma once

#include "rom/RomFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drovak::cli {

// Reads an input whole (read-only, under a shared lock), named as its messages name it; FileError
// when the offset is at or past the end of the file.
RomBytes ReadInput(const std::string& path, uint32_t offset);

// A whole input file (a pipe read to its end) whose size a codec can take: at most a ROM
// image's, 64 MiB; RefusedError beyond.
std::vector<uint8_t> ReadCodecInput(const std::string& path);

} // namespace drovak::cli
