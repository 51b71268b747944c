#include "base/Crc32.h"

#include <cstdio>
#include <zlib.h>

namespace drovak {

uint32_t Crc32(std::span<const uint8_t> bytes) {
    // No bytes (and so perhaps no pointer) give the CRC of nothing, 0.
    return bytes.empty() ? 0 : uint32_t(crc32_z(0L, bytes.data(), bytes.size()));
}

std::string CrcText(uint32_t crc) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", unsigned(crc));
    return text;
}

} // namespace drovak
