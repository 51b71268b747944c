#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// Reads a "Compress from:" data file whole. FileError when it can't be read; RefusedError,
// before anything is allocated, when it is larger than a block may decode to (MAX_DECODED_SIZE).
std::vector<uint8_t> ReadDataFile(const std::string& path);

} // namespace drovak
