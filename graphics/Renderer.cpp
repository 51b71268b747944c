#include "graphics/Renderer.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "graphics/GraphicsProblem.h"
#include "graphics/PlaneRenderer.h"
#include "graphics/TilePlane.h"
#include "rom/RomFile.h"

#include <algorithm>

namespace drovak {

namespace {

constexpr size_t PALETTE_BYTES = 128;

// Draws one cell of a sheet from `art` starting at `position`, row by row; stops at the end of
// the data, leaving the rest of the cell as it was (black). Returns the position after the last
// byte read.
size_t DrawSheetCell(std::span<const uint8_t> art, size_t position, unsigned cellPixelsX,
                     unsigned cellPixelsY, unsigned x, unsigned y, const PaletteTable& palette,
                     PreviewImage& image) {
    for (unsigned r = 0; r < cellPixelsY; ++r) {
        const unsigned py = y + r;
        uint32_t* row =
            py < image.Height ? image.Pixels.data() + size_t(py) * image.Width : nullptr;
        for (unsigned c = 0; c < cellPixelsX; c += 2) {
            if (position >= art.size()) return position;
            const uint8_t byte = art[position++];
            if (row == nullptr) continue;
            if (x + c < image.Width) row[x + c] = palette[SelectNibble(byte, false)];
            if (x + c + 1 < image.Width) row[x + c + 1] = palette[SelectNibble(byte, true)];
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
    const size_t got = rom.Read(bytes, PALETTE_BYTES);
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
        GraphicsProblem problem{GraphicsProblemKind::EmptyCell};
        problem.width = cellWidth;
        problem.height = cellHeight;
        ThrowGraphicsProblem(std::move(problem));
    }
    const unsigned width = 8u * widthInTiles;
    const unsigned height = 8u * heightInTiles;
    if (width > 0xFFFF || height > 0xFFFF || size_t(width) * height > FRAME_BUFFER_PIXELS) {
        GraphicsProblem problem{GraphicsProblemKind::OverFrameBuffer};
        problem.width = width;
        problem.height = height;
        ThrowGraphicsProblem(std::move(problem));
    }
    const unsigned cellPixelsX = 8u * cellWidth;
    const unsigned cellPixelsY = 8u * cellHeight;

    if (nameTable) {
        // Each word places a cell: the plane of the table, drawn whole.
        const TilePlane plane =
            PlaneOfNameTable(*nameTable, (width + cellPixelsX - 1) / cellPixelsX,
                             (height + cellPixelsY - 1) / cellPixelsY, cellWidth, cellHeight);
        return PlaneRenderer(plane, art, palette).Picture({0, 0, width, height});
    }
    // Without a name table the cells take the art in turn, row by row.
    PreviewImage image;
    image.Width = uint16_t(width);
    image.Height = uint16_t(height);
    image.Pixels.assign(size_t(width) * height, 0);
    size_t artPosition = 0;
    for (unsigned y = 0; y < height; y += cellPixelsY) {
        for (unsigned x = 0; x < width; x += cellPixelsX)
            artPosition =
                DrawSheetCell(art, artPosition, cellPixelsX, cellPixelsY, x, y, palette, image);
    }
    return image;
}

} // namespace drovak
