#include "graphics/Renderer.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"

#include <algorithm>

namespace drovak {

namespace {

constexpr size_t PALETTE_BYTES = 128;
constexpr uint32_t TILE_BYTES = 32;
// Name-table indices 496..511 take their data 16 tiles further on.
constexpr uint16_t SHIFTED_TILES_FIRST = 0x1F0;
constexpr uint16_t SHIFTED_TILES_LAST = 0x1FF;
constexpr uint32_t SHIFTED_TILES_OFFSET = 512;

uint32_t TileDataOffset(uint16_t index) {
    uint32_t offset = uint32_t(index) * TILE_BYTES;
    if (index >= SHIFTED_TILES_FIRST && index <= SHIFTED_TILES_LAST) offset += SHIFTED_TILES_OFFSET;
    return offset;
}

// Where a cell coordinate lands when flipped: mirrored within its own 8-pixel tile.
unsigned Mirror(unsigned c) {
    return (c & ~7u) + 7 - (c & 7u);
}

struct CellPlacement {
    unsigned line = 0;
    bool flipX = false;
    bool flipY = false;
};

struct Canvas {
    uint32_t* pixels;
    unsigned width;
    unsigned height;
};

// Draws one cell from `art` starting at `position`; stops at the end of the data, leaving the
// rest of the cell as it was (black). Returns the position after the last byte read.
size_t DrawCell(std::span<const uint8_t> art, size_t position, unsigned cellPixelsX,
                unsigned cellPixelsY, unsigned x, unsigned y, const CellPlacement& place,
                const PaletteTable& palette, const Canvas& canvas) {
    const uint32_t* colours = palette.data() + place.line * 16;
    for (unsigned r = 0; r < cellPixelsY; ++r) {
        unsigned py = y + (place.flipY ? Mirror(r) : r);
        uint32_t* row = py < canvas.height ? canvas.pixels + size_t(py) * canvas.width : nullptr;
        for (unsigned c = 0; c < cellPixelsX; c += 2) {
            if (position >= art.size()) return position;
            uint8_t byte = art[position++];
            if (row == nullptr) continue;
            unsigned left = x + (place.flipX ? Mirror(c) : c);
            unsigned right = x + (place.flipX ? Mirror(c + 1) : c + 1);
            if (left < canvas.width) row[left] = colours[SelectNibble(byte, false)];
            if (right < canvas.width) row[right] = colours[SelectNibble(byte, true)];
        }
    }
    return position;
}

} // namespace

void CopyToFrameBuffer(const PreviewImage& image, FrameBuffer& frameBuffer) {
    std::copy_n(image.Pixels.begin(), std::min(image.Pixels.size(), frameBuffer.size()),
                frameBuffer.begin());
}

PaletteTable ConvertPalette(std::span<const uint8_t> bytes) {
    const size_t count = bytes.size();
    PaletteTable table{};
    for (size_t i = 0; i < table.size(); ++i) {
        uint16_t word = 0;
        if (2 * i < count) word = uint16_t(bytes[2 * i] << 8);
        if (2 * i + 1 < count) word = uint16_t(word | bytes[2 * i + 1]);
        table[i] = ConvertColourWord(word);
    }
    return table;
}

PaletteTable ReadPalette(Stream& rom, uint32_t offset) {
    uint8_t bytes[PALETTE_BYTES] = {};
    rom.Seek(offset, SeekOrigin::Begin);
    size_t got = 0;
    while (got < PALETTE_BYTES) {
        size_t n = rom.Read(bytes + got, PALETTE_BYTES - got);
        if (n == 0) break;
        got += n;
    }
    return ConvertPalette({bytes, got});
}

PaletteTable PaletteAt(std::span<const uint8_t> rom, uint32_t offset) {
    if (offset >= rom.size()) return ConvertPalette({});
    return ConvertPalette(
        rom.subspan(offset, std::min<size_t>(PALETTE_BYTES, rom.size() - offset)));
}

PreviewImage RenderTiles(std::span<const uint8_t> art, uint8_t cellWidth, uint8_t cellHeight,
                         uint16_t widthInTiles, uint16_t heightInTiles, const PaletteTable& palette,
                         std::optional<std::span<const uint8_t>> nameTable) {
    if (cellWidth == 0 || cellHeight == 0) {
        throw RefusedError("Cannot draw tiles in cells of " + std::to_string(cellWidth) + " x " +
                           std::to_string(cellHeight) + " tiles");
    }
    const unsigned width = 8u * widthInTiles;
    const unsigned height = 8u * heightInTiles;
    if (width > 0xFFFF || height > 0xFFFF || size_t(width) * height > FRAME_BUFFER_PIXELS) {
        throw RefusedError("A picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels is larger than the frame buffer");
    }
    const unsigned cellPixelsX = 8u * cellWidth;
    const unsigned cellPixelsY = 8u * cellHeight;

    PreviewImage image;
    image.Width = uint16_t(width);
    image.Height = uint16_t(height);
    image.Pixels.assign(size_t(width) * height, 0);
    const Canvas canvas{image.Pixels.data(), width, height};

    size_t artPosition = 0;
    size_t namePosition = 0;
    for (unsigned y = 0; y < height; y += cellPixelsY) {
        for (unsigned x = 0; x < width; x += cellPixelsX) {
            CellPlacement place;
            if (nameTable) {
                // A name table that has ended leaves the rest of the row (and so of the
                // picture) black.
                if (namePosition + 2 > nameTable->size()) break;
                uint16_t word = LoadBigEndian16(nameTable->data() + namePosition);
                namePosition += 2;
                place.line = (word >> 13) & 3;
                place.flipX = (word & 0x0800) != 0;
                place.flipY = (word & 0x1000) != 0;
                artPosition = TileDataOffset(word & 0x07FF);
            }
            artPosition =
                DrawCell(art, artPosition, cellPixelsX, cellPixelsY, x, y, place, palette, canvas);
        }
    }
    return image;
}

} // namespace drovak
