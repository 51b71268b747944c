#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// Reads a whole (data) file; FileError when it can't be read. A file larger than maxSize is
// refused (RefusedError naming `limitText`, what the limit is) before anything is allocated.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize = UINT64_MAX,
                                   const std::string& limitText = {});

} // namespace drovak
