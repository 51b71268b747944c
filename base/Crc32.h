#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drovak {

// The CRC-32 (zlib's) of the bytes.
uint32_t Crc32(std::span<const uint8_t> bytes);

// "1A2B3C4D": eight upper-case hexadecimal digits.
std::string CrcText(uint32_t crc);

} // namespace drovak
