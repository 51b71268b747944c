#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drovak {

// The CRC-32 of the bytes (zlib's), the checksum the manifest records for each file.
uint32_t Crc32(std::span<const uint8_t> bytes);

// Eight upper-case hexadecimal digits ("0A1B2C3D"), as messages give a CRC-32.
std::string CrcText(uint32_t crc);

} // namespace drovak
