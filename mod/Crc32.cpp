#include "mod/Crc32.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

namespace drovak {

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB a call.
    for (size_t at = 0; at < bytes.size();) {
        const size_t part = std::min<size_t>(bytes.size() - at, 1u << 30);
        crc = crc32(crc, bytes.data() + at, uInt(part));
        at += part;
    }
    return uint32_t(crc);
}

std::string CrcText(uint32_t crc) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", unsigned(crc));
    return text;
}

} // namespace drovak
