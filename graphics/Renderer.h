#pragma once

#include "base/Stream.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drovak {

// A picture of Width x Height pixels, row-major, top row first; each pixel red + green x 256 +
// blue x 65536 (bytes red, green, blue, 0 in memory).
struct PreviewImage {
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint32_t> Pixels;
};

constexpr size_t FRAME_BUFFER_PIXELS = 512 * 512;
// The picture on show, row length = that picture's width; filled by its owner.
using FrameBuffer = std::array<uint32_t, FRAME_BUFFER_PIXELS>;

// Copies a picture of at most FRAME_BUFFER_PIXELS pixels into the frame buffer (row length = the
// picture's width); the entries past it keep what they held.
void CopyToFrameBuffer(const PreviewImage& image, FrameBuffer& frameBuffer);

// The 64 converted colours of a palette, red in the lowest byte.
using PaletteTable = std::array<uint32_t, 64>;

// A Mega Drive colour word to a PaletteTable colour (each 3-bit intensity v becomes v x 32).
constexpr uint32_t ConvertColourWord(uint16_t word) {
    uint32_t red = (word & 0x00E) << 4;
    uint32_t green = ((word >> 4) & 0x00E) << 4;
    uint32_t blue = ((word >> 8) & 0x00E) << 4;
    return red | (green << 8) | (blue << 16);
}

// 128 palette bytes (64 big-endian colour words) to colours; missing bytes count as zero.
PaletteTable ConvertPalette(std::span<const uint8_t> bytes);
// The palette of the 128 bytes at `offset` of a ROM image: bytes past its end stay black.
PaletteTable PaletteAt(std::span<const uint8_t> rom, uint32_t offset);
// The same from an open ROM file (moves its position).
PaletteTable ReadPalette(Stream& rom, uint32_t offset);

// Draws tiles (8x8, 4 bits per pixel) into a picture of 8 x widthInTiles by 8 x heightInTiles,
// cell by cell, and returns it: without a name table the cells take the art in turn; with one,
// one big-endian name-table word per cell places the tile (the plane of graphics/TilePlane.h,
// drawn by graphics/PlaneRenderer.h). Short data leaves black. Throws RefusedError for a cell size
// of 0 or a picture larger than the frame buffer.
PreviewImage RenderTiles(std::span<const uint8_t> tileArt, uint8_t cellWidth, uint8_t cellHeight,
                         uint16_t widthInTiles, uint16_t heightInTiles, const PaletteTable& palette,
                         std::optional<std::span<const uint8_t>> nameTable = std::nullopt);

} // namespace drovak
