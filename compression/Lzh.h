#pragma once

#include "base/Stream.h"

#include <cstdint>

namespace drovak {

// Decoded sizes above this are refused (FileError-free RefusedError): no Mega Drive data is
// that large, and a damaged table must not make us allocate gigabytes.
constexpr uint32_t MAX_DECODED_SIZE = 16u * 1024 * 1024;

// Decodes the LZHUF stream at the source's current position. Writes at least decodedSize bytes
// at the destination's position, stopping at the first item boundary at or past decodedSize
// (so up to 59 bytes more). decodedSize 0 reads and writes nothing. A source that ends early is
// read on as zero bits. Throws RefusedError when decodedSize exceeds MAX_DECODED_SIZE.
void LzhDecode(Stream& source, Stream& destination, uint32_t decodedSize);

// Encodes the source from its current position to its end as an LZHUF stream (no header) at
// the destination's position. sourceSize is only tested for 0 (then nothing is written).
void LzhEncode(Stream& source, Stream& destination, uint32_t sourceSize);

} // namespace drovak
