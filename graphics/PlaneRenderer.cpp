#include "graphics/PlaneRenderer.h"

#include "base/ByteOrder.h"

#include <algorithm>

namespace drovak {

namespace {

constexpr uint32_t TILE_BYTES = 32;
// Name-table indices 496..511 take their data 16 tiles further on.
constexpr uint16_t SHIFTED_TILES_FIRST = 0x1F0;
constexpr uint16_t SHIFTED_TILES_LAST = 0x1FF;
constexpr uint32_t SHIFTED_TILES_OFFSET = 512;

size_t TileDataOffset(uint16_t index) {
    size_t offset = size_t(index) * TILE_BYTES;
    if (index >= SHIFTED_TILES_FIRST && index <= SHIFTED_TILES_LAST) offset += SHIFTED_TILES_OFFSET;
    return offset;
}

// Where a coordinate within a cell comes from when flipped: mirrored within its own tile.
uint32_t Mirror(uint32_t c) {
    return (c & ~7u) + 7 - (c & 7u);
}

} // namespace

PlaneRenderer::PlaneRenderer(const TilePlane& plane, std::span<const uint8_t> art,
                             const PaletteTable& palette)
    : plane_(plane), art_(art), palette_(palette), cellPixelsX_(8u * plane.cellWidth),
      cellPixelsY_(8u * plane.cellHeight) {}

void PlaneRenderer::DrawRow(uint32_t y, uint32_t left, uint32_t right, uint32_t* out) const {
    const uint32_t cellRow = y / cellPixelsY_, inCellY = y % cellPixelsY_;
    const size_t rowBytes = cellPixelsX_ / 2;
    for (uint32_t x = left; x < right;) {
        const uint32_t cellColumn = x / cellPixelsX_;
        const uint32_t end = std::min(right, (cellColumn + 1) * cellPixelsX_);
        const size_t index = size_t(cellRow) * plane_.width + cellColumn;
        if (cellRow >= plane_.height || cellColumn >= plane_.width ||
            index >= plane_.cells.size()) {
            std::fill(out + (x - left), out + (end - left), 0u);
            x = end;
            continue;
        }
        const PlaneCell& cell = plane_.cells[index];
        const uint32_t* colours = palette_.data() + 16 * (cell.line & 3);
        const size_t row =
            TileDataOffset(cell.tile) + (cell.flipY ? Mirror(inCellY) : inCellY) * rowBytes;
        for (; x < end; ++x) {
            const uint32_t inCellX = x % cellPixelsX_;
            const uint32_t from = cell.flipX ? Mirror(inCellX) : inCellX;
            const size_t at = row + from / 2;
            out[x - left] = at < art_.size() ? colours[SelectNibble(art_[at], from % 2 != 0)] : 0;
        }
    }
}

void PlaneRenderer::Draw(const PixelRect& area, uint32_t* out, size_t stride) const {
    for (uint32_t y = 0; y < area.height; ++y)
        DrawRow(area.y + y, area.x, area.x + area.width, out + y * stride);
}

PreviewImage PlaneRenderer::Picture(const PixelRect& area) const {
    PreviewImage image;
    image.Width = uint16_t(area.width);
    image.Height = uint16_t(area.height);
    image.Pixels.resize(size_t(area.width) * area.height);
    Draw(area, image.Pixels.data(), area.width);
    return image;
}

} // namespace drovak
