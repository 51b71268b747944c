#include "base/Crc32.h"

#include <algorithm>
#include <cstdio>
#include <zlib.h>

namespace drovak {

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most a uInt's worth of bytes at a time.
    constexpr size_t STEP = 1u << 30;
    for (size_t at = 0; at < bytes.size(); at += STEP) {
        crc = crc32(crc, bytes.data() + at, uInt(std::min(STEP, bytes.size() - at)));
    }
    return uint32_t(crc);
}

std::string CrcText(uint32_t crc) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", unsigned(crc));
    return text;
}

} // namespace drovak
