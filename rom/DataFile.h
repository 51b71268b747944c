#pragma once

#include "compression/Lzh.h"
#include "compression/Rle.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// The most data a compressed block may hold, with either codec.
constexpr uint32_t MAX_DECODED_SIZE = std::min(LZH_MAX_DECODED_SIZE, RLE_MAX_DECODED_SIZE);

// Reads a "Compress from:" data file whole (a pipe to its end). FileError when it can't be read;
// RefusedError, before anything is allocated, when it is larger than a block may decode to
// (MAX_DECODED_SIZE).
std::vector<uint8_t> ReadDataFile(const std::string& path);
// The same for the file NAME of a folder that others may have prepared: only a regular file
// inside the folder is read (base/FolderFiles.h), anything else refused (RefusedError).
std::vector<uint8_t> ReadDataFileInFolder(const std::string& folder, const std::string& name);

// RomRefusal, naming the ROM image, when new data of `size` bytes is more than a block may
// decode to.
void CheckDataSize(const std::string& romName, uint64_t size);

} // namespace drovak
