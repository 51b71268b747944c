#pragma once

#include "base/SizeLimit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// Reads a whole (data) file; FileError when it can't be read. A regular file is read under a
// shared lock (InUseError while another program changes it). A pipe or FIFO is read to its end
// (an open never waits for a writer); a device is read without waiting, and refused when it has
// nothing to give now. More than maxSize bytes are refused (RefusedError naming what the
// limit is for), a regular file before anything is allocated.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize = UINT64_MAX,
                                   SizeLimit limit = SizeLimit::None);

// Whether a regular file at path holds something other than `bytes` (false when there is none,
// or it is not a regular file).
bool FileHoldsOtherBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace drovak
