#pragma once

#include <cstdint>

namespace drovak {

// The low four bits of the byte when low is set, else the high four bits.
constexpr uint8_t SelectNibble(uint8_t byte, bool low) {
    return low ? static_cast<uint8_t>(byte & 0x0F) : static_cast<uint8_t>(byte >> 4);
}

// Big-endian loads and stores on byte buffers.
constexpr uint32_t LoadBigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
constexpr uint16_t LoadBigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
constexpr void StoreBigEndian32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
constexpr void StoreBigEndian16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

// Little-endian loads (patch files keep their checksums so).
constexpr uint32_t LoadLittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

} // namespace drovak
