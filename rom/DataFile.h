#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// Reads a "Compress from:" data file whole (a pipe to its end). FileError when it can't be read;
// RefusedError, before anything is allocated, when it is larger than a block may decode to
// (MAX_DECODED_SIZE).
std::vector<uint8_t> ReadDataFile(const std::string& path);

// RefusedError, naming the ROM image, when new data of `size` bytes is more than a block may
// decode to.
void CheckDataSize(const std::string& romName, uint64_t size);

} // namespace drovak
