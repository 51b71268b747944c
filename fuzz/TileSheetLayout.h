#pragma once
// Where a tile data byte's two pixels lie in a tile sheet, worked out on its own for the PNG
// targets: tile t is at column t % columns and row t / columns; byte b of a tile holds the pixels
// (2 (b % 4), b / 4) and the one to its right, the left one in the high half.

#include <cstddef>
#include <cstdint>

namespace drovak::fuzz {

struct PixelPair {
    uint32_t x = 0, y = 0; // the left pixel
};

inline PixelPair PixelsOfByte(size_t byte, uint32_t columns) {
    const size_t tile = byte / 32, within = byte % 32;
    return {uint32_t(tile % columns * 8 + within % 4 * 2),
            uint32_t(tile / columns * 8 + within / 4)};
}

} // namespace drovak::fuzz
