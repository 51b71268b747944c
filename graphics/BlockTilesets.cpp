#include "graphics/BlockTilesets.h"

#include "base/ByteOrder.h"
#include "base/Stream.h"
#include "png/PngRows.h"
#include "png/PngWriter.h"
#include "rom/LevelLayout.h"

namespace drovak {

namespace {

constexpr unsigned NAME_TABLE_SIDE = 64; // tiles: 16 blocks of 4

} // namespace

PreviewImage DrawPlaneBlocks(const LevelData& level, bool planeB) {
    const std::vector<uint8_t>& data = level.blockData;
    const size_t definitions = planeB ? PLANE_B_DEFINITIONS : PLANE_A_DEFINITIONS;
    std::vector<uint8_t> nameTable(NAME_TABLE_SIDE * NAME_TABLE_SIDE * 2, 0);
    for (unsigned block = 0; block < BLOCKS_PER_PLANE; ++block) {
        for (unsigned tile = 0; tile < BLOCK_TILES * BLOCK_TILES; ++tile) {
            const size_t at = definitions + BLOCK_DEFINITION_BYTES * block + 2 * tile;
            if (at + 2 > data.size()) continue;
            const unsigned x = BLOCK_TILES * (block % BLOCK_TILESET_COLUMNS) + tile % BLOCK_TILES;
            const unsigned y = BLOCK_TILES * (block / BLOCK_TILESET_COLUMNS) + tile / BLOCK_TILES;
            StoreBigEndian16(nameTable.data() + 2 * (y * NAME_TABLE_SIDE + x),
                             LoadBigEndian16(data.data() + at) & LEVEL_NAME_MASK);
        }
    }
    return RenderTiles(level.tileArt, 1, 1, NAME_TABLE_SIDE, NAME_TABLE_SIDE, level.palette,
                       nameTable);
}

PreviewImage DrawArtLine(const LevelData& level, unsigned line) {
    std::vector<uint8_t> nameTable(2 * ART_TILESET_TILES);
    for (unsigned index = 0; index < ART_TILESET_TILES; ++index) {
        StoreBigEndian16(nameTable.data() + 2 * index, uint16_t((line & 3) << 13 | index));
    }
    return RenderTiles(level.tileArt, 1, 1, ART_TILESET_COLUMNS,
                       ART_TILESET_TILES / ART_TILESET_COLUMNS, level.palette, nameTable);
}

std::vector<uint8_t> DrawingPng(const PreviewImage& image, bool blackClear) {
    MemoryStream out;
    PngWriter png(out, {image.Width, image.Height, PNG_COLOUR_RGB_ALPHA, 8});
    png.ImageData(
        [&](uint32_t y, uint8_t* row) {
            std::vector<uint32_t> pixels(image.Width);
            for (uint32_t x = 0; x < image.Width; ++x) {
                const uint32_t colour = image.Pixels[size_t(y) * image.Width + x];
                pixels[x] = blackClear && colour == 0 ? 0 : (colour & 0xFFFFFF) | 0xFF000000u;
            }
            PackPngRow(pixels.data(), image.Width, PNG_COLOUR_RGB_ALPHA, 8, row);
        },
        PngCompression{});
    png.End();
    return out.Take();
}

} // namespace drovak
