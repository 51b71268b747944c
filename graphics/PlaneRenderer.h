#pragma once

#include "graphics/Renderer.h"
#include "graphics/TilePlane.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace drovak {

// A rectangle of pixels: left, top, width, height.
struct PixelRect {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// Draws any rectangle of a plane from tile art (8 x 8 tiles, 4 bits a pixel) and a palette, as
// the Mega Drive's name table shows it: each cell's tile, its flips (within each tile) and its
// palette line; indices 496 to 511 take the tile 16 further on. Art that ends leaves black
// (colour 0) where its bytes are missing, as do blank cells and places beyond the plane. It
// holds the plane, art and palette by reference and only reads them: any number of threads may
// draw at once.
class PlaneRenderer {
public:
    PlaneRenderer(const TilePlane& plane, std::span<const uint8_t> art,
                  const PaletteTable& palette);
    // Held by reference: a temporary plane or palette would be gone before the first draw.
    PlaneRenderer(TilePlane&&, std::span<const uint8_t>, const PaletteTable&) = delete;
    PlaneRenderer(const TilePlane&, std::span<const uint8_t>, PaletteTable&&) = delete;

    // The rectangle's pixels, row by row, into out (a row every `stride` pixels).
    void Draw(const PixelRect& area, uint32_t* out, size_t stride) const;
    // The rectangle as a picture; its sides must fit in 16 bits.
    PreviewImage Picture(const PixelRect& area) const;

private:
    void DrawRow(uint32_t y, uint32_t left, uint32_t right, uint32_t* out) const;

    const TilePlane& plane_;
    std::span<const uint8_t> art_;
    const PaletteTable& palette_;
    uint32_t cellPixelsX_;
    uint32_t cellPixelsY_;
};

} // namespace drovak
